#include "item_walk.h"

namespace lwp {

void appendChildren(const LWItemInfo &info, LWItemID parent, ItemList &items) {
  for (LWItemID child = info.firstChild(parent); child != nullptr; child = info.nextChild(parent, child))
    items.push_back(child);
}

ItemList bonesWith(const LWItemInfo &info, LWItemID object) {
  ItemList bones;
  bones.reserve(kBoneListReserve);
  for (LWItemID bone = info.first(LWI_BONE, object); bone != nullptr; bone = info.next(bone)) bones.push_back(bone);
  return bones;
}

void appendSceneItems(const LWItemInfo &info, ItemList &items) {
  for (LWItemID object = info.first(LWI_OBJECT, nullptr); object != nullptr; object = info.next(object)) {
    items.push_back(object);
    const ItemList bones = bonesWith(info, object);
    items.insert(items.end(), bones.begin(), bones.end());
  }
  for (LWItemID light = info.first(LWI_LIGHT, nullptr); light != nullptr; light = info.next(light))
    items.push_back(light);
  for (LWItemID camera = info.first(LWI_CAMERA, nullptr); camera != nullptr; camera = info.next(camera))
    items.push_back(camera);
}

std::string itemNameWith(const LWItemInfo &info, LWItemID item) {
  const char *name = info.name(item);
  return name != nullptr ? name : "";
}

std::string itemPathWith(const LWItemInfo &info, LWItemID item) {
  std::string path = itemNameWith(info, item);
  for (LWItemID parent = info.parent(item); parent != nullptr; parent = info.parent(parent))
    path = itemNameWith(info, parent) + "/" + path;
  return "/" + path;
}

}  // namespace lwp
