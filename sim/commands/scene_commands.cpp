#include "scene_commands.h"

#include <array>
#include <cmath>
#include <memory>

#include "../host.h"
#include "command_arguments.h"

namespace lwsim {

namespace {

std::string trimmed(const std::string &text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A name argument: the rest of the line without outer blanks, or the host's
// default name.
std::string nameOr(const std::string &argument, const char *fallback) {
  const std::string name = trimmed(argument);
  return name.empty() ? std::string(fallback) : name;
}

// Lives as long as the commands it defines: each keeps it alive.
class SceneCommands : public std::enable_shared_from_this<SceneCommands> {
 public:
  explicit SceneCommands(Host &host) : host_(host), scene_(host.scene()) {}

  void define() {
    defineItemCommands();
    defineSelectionCommands();
    definePoseCommands();
    defineSettingCommands();
  }

 private:
  void on(const char *word, CommandInterpreter::Handler handler) {
    host_.commands().define(
        word, [self = shared_from_this(), handler = std::move(handler)](const std::string &a) { return handler(a); });
  }

  // A new item becomes the only selected item.
  bool added(SceneItem &item) {
    scene_.select(item);
    host_.selectionChanged();
    return true;
  }

  SceneItem *firstSelected() const { return scene_.selection().empty() ? nullptr : scene_.selection().front(); }

  void defineItemCommands() {
    on("AddNull", [this](const std::string &a) { return added(scene_.addObject(nameOr(a, "Null"))); });
    on("LoadObject", [this](const std::string &a) {
      const std::string path = trimmed(a);
      const std::string name = objectNameOf(path);
      return !name.empty() && added(scene_.addObject(name, path));
    });
    on("AddCamera", [this](const std::string &a) { return added(scene_.addCamera(nameOr(a, "Camera"))); });
    for (const char *light : {"AddDistantLight", "AddPointLight", "AddSpotlight", "AddAreaLight"})
      on(light, [this](const std::string &a) { return added(scene_.addLight(nameOr(a, "Light"))); });
    on("AddBone", [this](const std::string &a) {
      SceneItem *selected = firstSelected();
      SceneItem *object = selected != nullptr && selected->type == kBone ? selected->owner : selected;
      return object != nullptr && object->type == kObject && added(scene_.addBone(*object, nameOr(a, "Bone")));
    });
    on("Rename", [this](const std::string &a) {
      SceneItem *item = firstSelected();
      const std::string name = trimmed(a);
      if (item == nullptr || name.empty()) return false;
      scene_.rename(*item, name);
      return true;
    });
    on("AddEnvelope", [this](const std::string &a) { return addEnvelope(a); });
  }

  // Gives every selected item that lacks it an envelope for a parameter,
  // keyed once at 0 with the parameter's current value. Motion channels
  // always have theirs.
  bool addEnvelope(const std::string &name) {
    if (name.empty() || name.find(' ') != std::string::npos) return false;
    for (const char *motion : kMotionChannels)
      if (name == motion) return false;
    for (SceneItem *item : scene_.selection()) {
      if (name == "ZoomFactor" && item->type != kCamera) continue;
      if (item->group->findChannel(name) != nullptr) continue;
      const double current = name == "ZoomFactor" ? item->zoomFactor : 0.0;
      item->group->addChannel(name).envelope().createKey(0.0, current);
    }
    return true;
  }

  void defineSelectionCommands() {
    on("SelectItem", [this](const std::string &a) { return selectById(a, false); });
    on("AddToSelection", [this](const std::string &a) { return selectById(a, true); });
    on("RemoveFromSelection", [this](const std::string &a) {
      SceneItem *item = itemById(a);
      if (item == nullptr) return false;
      scene_.removeFromSelection(*item);
      host_.selectionChanged();
      return true;
    });
    on("SelectByName", [this](const std::string &a) {
      SceneItem *item = scene_.findByName(a);
      if (item == nullptr) return false;
      scene_.select(*item);
      host_.selectionChanged();
      return true;
    });
    on("ClearSelection", [this](const std::string &a) {
      if (!a.empty()) return false;
      scene_.clearSelection();
      host_.selectionChanged();
      return true;
    });
  }

  SceneItem *itemById(const std::string &argument) {
    const std::optional<std::uint64_t> id = parseId(argument);
    return id.has_value() ? scene_.find(static_cast<std::uintptr_t>(*id)) : nullptr;
  }

  bool selectById(const std::string &argument, bool adding) {
    SceneItem *item = itemById(argument);
    if (item == nullptr) return false;
    if (adding)
      scene_.addToSelection(*item);
    else
      scene_.select(*item);
    host_.selectionChanged();
    return true;
  }

  // Sets (or adds to) three motion values of every selected item's pose,
  // then keys them as Layout's Auto Key Create mode asks.
  bool pose(const std::string &argument, std::size_t firstSlot, double unit, bool adding) {
    const auto values = parseNumbers(argument, 3);
    if (!values.has_value()) return false;
    for (const SceneItem *item : scene_.selection()) {
      std::array<bool, 3> changed{};
      for (std::size_t axis = 0; axis < 3; ++axis) {
        const std::size_t slot = firstSlot + axis;
        if (item->type == kCamera && slot >= 6) continue;
        const double before = host_.pose().shown(*item, slot);
        const double value = (adding ? before : 0.0) + (*values)[axis] * unit;
        host_.pose().set(*item, slot, value);
        changed[axis] = value != before;
      }
      autoKey(*item, firstSlot, changed);
    }
    return true;
  }

  // Layout's Auto Key Create at the current time: "modified" keys the posed
  // channels whose value changed, "all" every motion channel of the item,
  // "existing" the posed channels that already hold a key at that time.
  void autoKey(const SceneItem &item, std::size_t firstSlot, const std::array<bool, 3> &changed) {
    const int mode = host_.snapshots().autoKeyCreate();
    if (mode == LWAKC_OFF) return;
    const double time = scene_.time();
    for (std::size_t slot = 0; slot < kMotionChannels.size(); ++slot) {
      Channel *channel = item.group->findChannel(kMotionChannels[slot]);
      if (channel == nullptr) continue;
      const bool posed = slot >= firstSlot && slot < firstSlot + 3;
      const bool keyed = mode == LWAKC_ALL || (mode == LWAKC_MODIFIED && posed && changed[slot - firstSlot]) ||
                         (mode == LWAKC_EXISTING && posed && channel->envelope().findKey(time) != nullptr);
      if (keyed) channel->envelope().createKey(time, host_.pose().shown(item, slot));
    }
  }

  void definePoseCommands() {
    on("Position", [this](const std::string &a) { return pose(a, 0, 1.0, false); });
    on("Rotation", [this](const std::string &a) { return pose(a, 3, kRadiansPerDegree, false); });
    on("Scale", [this](const std::string &a) { return pose(a, 6, 1.0, false); });
    on("AddPosition", [this](const std::string &a) { return pose(a, 0, 1.0, true); });
    on("AddRotation", [this](const std::string &a) { return pose(a, 3, kRadiansPerDegree, true); });
    on("AddScale", [this](const std::string &a) { return pose(a, 6, 1.0, true); });
    on("Reset", [this](const std::string &a) {
      return a.empty() && pose("0 0 0", 0, 1.0, false) && pose("0 0 0", 3, 1.0, false) && pose("1 1 1", 6, 1.0, false);
    });
    on("CreateKey", [this](const std::string &a) { return createKey(a); });
    on("GoToFrame", [this](const std::string &a) {
      const std::optional<double> frame = parseNumber(a);
      if (!frame.has_value()) return false;
      host_.goToTime(*frame / scene_.framesPerSecond());
      return true;
    });
    on("RefreshNow", [](const std::string &a) { return a.empty(); });
  }

  // "CreateKey SECONDS 0 MASK": keys the shown pose of the selected items on
  // the motion channels of the 9-bit mask.
  bool createKey(const std::string &argument) {
    const std::vector<std::string> words = blankSeparated(argument);
    if (words.size() != 3) return false;
    const std::optional<double> seconds = parseNumber(words[0]);
    const std::optional<long long> all = parseInteger(words[1]);
    const std::optional<std::uint64_t> mask = parseId(words[2]);
    if (!seconds.has_value() || !all.has_value() || !mask.has_value()) return false;
    for (const SceneItem *item : scene_.selection()) {
      for (std::size_t slot = 0; slot < kMotionChannels.size(); ++slot) {
        if ((*mask & (1u << slot)) == 0) continue;
        if (Channel *channel = item->group->findChannel(kMotionChannels[slot]))
          channel->envelope().createKey(*seconds, host_.pose().shown(*item, slot));
      }
    }
    return true;
  }

  // Commands of the selected items' settings and of the scene's ranges.
  void defineSettingCommands() {
    on("ZoomFactor", [this](const std::string &a) {
      const auto zoom = parseNumbers(a, 1);
      if (!zoom.has_value() || (*zoom)[0] <= 0.0) return false;
      for (SceneItem *item : scene_.selection())
        if (item->type == kCamera) item->zoomFactor = (*zoom)[0];
      return true;
    });
    on("FrameSize", [this](const std::string &a) {
      const std::vector<std::string> words = blankSeparated(a);
      const auto width = words.size() == 2 ? parseInteger(words[0]) : std::nullopt;
      const auto height = words.size() == 2 ? parseInteger(words[1]) : std::nullopt;
      if (!width.has_value() || !height.has_value() || *width <= 0 || *height <= 0) return false;
      for (SceneItem *item : scene_.selection()) {
        if (item->type != kCamera) continue;
        item->resolutionWidth = static_cast<int>(*width);
        item->resolutionHeight = static_cast<int>(*height);
      }
      return true;
    });
    on("SchematicPosition", [this](const std::string &a) {
      const auto position = parseNumbers(a, 2);
      if (!position.has_value()) return false;
      for (SceneItem *item : scene_.selection()) {
        item->schematicX = (*position)[0];
        item->schematicY = (*position)[1];
      }
      return true;
    });
    rangeCommand("FirstFrame", scene_.renderRange().first, kAnyFrame);
    rangeCommand("LastFrame", scene_.renderRange().last, kAnyFrame);
    rangeCommand("FrameStep", scene_.renderRange().step, 1);
    rangeCommand("PreviewFirstFrame", scene_.previewRange().first, kAnyFrame);
    rangeCommand("PreviewLastFrame", scene_.previewRange().last, kAnyFrame);
    rangeCommand("PreviewFrameStep", scene_.previewRange().step, 1);
  }

  static constexpr long long kAnyFrame = -1000000000LL;

  // A frame number, or a step of at least `least`.
  void rangeCommand(const char *word, int &field, long long least) {
    on(word, [&field, least](const std::string &a) {
      const std::optional<long long> value = parseInteger(a);
      if (!value.has_value() || *value < least || *value > 1000000000LL) return false;
      field = static_cast<int>(*value);
      return true;
    });
  }

  Host &host_;
  Scene &scene_;
};

}  // namespace

void defineSceneCommands(Host &host) { std::make_shared<SceneCommands>(host)->define(); }

}  // namespace lwsim
