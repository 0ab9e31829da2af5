#include "item_kind.h"

#include <regex>

namespace lwp {

bool passesMeshTest(const char *fileName, MeshTest test) {
  if (fileName == nullptr) return false;
  static const std::regex clipPattern(R"(^.*\.lwo$)", std::regex::ECMAScript);
  static const std::regex keySetterPattern(R"(.*\.lwo)", std::regex::ECMAScript | std::regex::icase);
  return std::regex_match(fileName, test == MeshTest::kClip ? clipPattern : keySetterPattern);
}

ItemKind itemKindWith(const LWItemInfo &info, const LWObjectInfo &objects, LWItemID item, MeshTest test) {
  switch (info.type(item)) {
    case LWI_OBJECT:
      return passesMeshTest(objects.filename(item), test) ? kKindMesh : kKindNull;
    case LWI_BONE:
      return kKindBone;
    case LWI_LIGHT:
      return kKindLight;
    case LWI_CAMERA:
      return kKindCamera;
    default:
      return kKindOther;
  }
}

}  // namespace lwp
