#include "scene_file_parser.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "scene_file_envelope.h"

namespace lwsim {

namespace {

constexpr int kFirstVersion = 3;
constexpr int kLastVersion = 5;
// From this version on, the line declaring an item carries its id.
constexpr int kFirstVersionWithIds = 4;
constexpr long long kFrameLimit = 1000000000LL;

// Item numbers of the format: the type in the top four bits (1 object,
// 2 light, 3 camera, 4 bone) above the ordinal of the item among those of its
// type; a bone has its ordinal among its object's bones in bits 16–27 and its
// object's ordinal in bits 0–15.
constexpr std::uint32_t kTypeShift = 28;
constexpr std::uint32_t typeCode(int type) { return static_cast<std::uint32_t>(type) + 1; }

std::uint32_t boneNumber(std::uint32_t bone, std::uint32_t object) {
  return typeCode(kBone) << kTypeShift | (bone & 0xFFFu) << 16 | (object & 0xFFFFu);
}

// A hexadecimal item number as the format writes it ("%8X").
std::optional<std::uint32_t> hexNumber(const std::string &word) {
  std::uint32_t value = 0;
  const char *end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value, 16);
  if (word.empty() || word.size() > 8 || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The id an item's declaration carries from version 4 on: eight hexadecimal
// digits, the first a type code.
std::optional<std::uint32_t> declaredId(const std::string &word) {
  const std::optional<std::uint32_t> number = word.size() == 8 ? hexNumber(word) : std::nullopt;
  if (!number.has_value() || (*number >> kTypeShift) < typeCode(kObject) || (*number >> kTypeShift) > typeCode(kBone))
    return std::nullopt;
  return number;
}

const char *typeName(int type) {
  switch (type) {
    case kLight:
      return "a light";
    case kCamera:
      return "a camera";
    case kBone:
      return "a bone";
    default:
      return "an object";
  }
}

class Parser {
 public:
  explicit Parser(SceneFileText &text) : text_(text) {}

  SceneDescription parse() {
    header();
    while (text_.advance()) statement();
    resolveParents();
    return std::move(scene_);
  }

 private:
  using Keyword = std::function<void(Parser &)>;

  struct ParentLink {
    std::uint32_t number;
    int line;
  };

  static const std::unordered_map<std::string, Keyword> &keywords();

  void header() {
    if (!text_.advance() || text_.line() != "LWSC")
      text_.fail("not a LightWave scene file (it does not begin with LWSC)");
    if (!text_.advance()) text_.fail("the LWSC version is missing");
    version_ = text_.integer(text_.line(), "LWSC version");
    if (version_ < kFirstVersion || version_ > kLastVersion)
      text_.fail("LWSC version " + std::to_string(version_) + " is not supported (" + std::to_string(kFirstVersion) +
                 " to " + std::to_string(kLastVersion) + " are)");
  }

  void statement() {
    if (text_.opensBlock()) {
      motion_.reset();
      text_.skipBlock();
      return;
    }
    if (text_.closesBlock()) text_.fail("a closing brace without a block to close");
    const std::string keyword = text_.keyword();
    if (keyword != "NumChannels" && keyword != "Channel") motion_.reset();
    const auto found = keywords().find(keyword);
    if (found != keywords().end()) found->second(*this);
  }

  // --- values ---------------------------------------------------------------

  // The one value of the current line.
  std::string single() const {
    const std::vector<std::string> words = text_.arguments();
    if (words.size() != 1) text_.fail(text_.keyword() + " takes one value");
    return words.front();
  }

  void frame(std::optional<int> RangeDescription::*field, bool preview, bool step) {
    const std::string word = single();
    const long long value = text_.integer(word, step ? "frame step" : "frame");
    if (step && value < 1) text_.fail("a frame step is at least 1");
    if (value < -kFrameLimit || value > kFrameLimit) text_.fail("frame " + word + " is out of range");
    RangeDescription &range = preview ? scene_.preview : scene_.render;
    range.*field = static_cast<int>(value);
  }

  void framesPerSecond() {
    const double fps = text_.number(single(), "frames per second");
    if (!(fps > 0.0)) text_.fail("the frame rate must be positive");
    scene_.framesPerSecond = fps;
  }

  void currentFrame() { scene_.currentFrame = text_.number(single(), "frame"); }

  Vector3 vector(const char *what, double unit = 1.0) const {
    const std::vector<std::string> words = text_.arguments();
    if (words.size() != 3) text_.fail(text_.keyword() + " takes three values");
    Vector3 v{};
    for (std::size_t i = 0; i < 3; ++i) v[i] = text_.number(words[i], what) * unit;
    return v;
  }

  // --- items ------------------------------------------------------------------

  // The item the keyword describes: the last one declared, of this type.
  ItemDescription &current(int type) {
    if (!current_.has_value() || scene_.items[*current_].type != type)
      text_.fail(text_.keyword() + " without " + typeName(type) + " before it");
    return scene_.items[*current_];
  }

  ItemDescription &currentItem() {
    if (!current_.has_value()) text_.fail(text_.keyword() + " without an item before it");
    return scene_.items[*current_];
  }

  // Splits off the id a declaration carries from version 4 on.
  std::optional<std::uint32_t> takeId(std::string &rest) const {
    if (version_ < kFirstVersionWithIds) return std::nullopt;
    auto [word, remainder] = splitFirstWord(rest);
    const std::optional<std::uint32_t> id = declaredId(word);
    if (id.has_value()) rest = remainder;
    return id;
  }

  ItemDescription &declare(int type, std::string name, std::optional<std::uint32_t> id) {
    ItemDescription item;
    item.type = type;
    item.name = std::move(name);
    std::uint32_t ordinal = 0, number = 0;
    if (type == kBone) {
      if (!lastObject_.has_value()) text_.fail(text_.keyword() + " without an object before it");
      item.owner = *lastObject_;
      item.parent = *lastObject_;
      ordinal = bonesOf_[*lastObject_]++;
      number = boneNumber(ordinal, ordinals_[*lastObject_]);
    } else {
      ordinal = counts_[static_cast<std::size_t>(type)]++;
      number = typeCode(type) << kTypeShift | ordinal;
    }
    number = id.value_or(number);
    if (byNumber_.count(number) != 0) text_.fail("two items have the number " + hex(number));
    const std::size_t index = scene_.items.size();
    byNumber_[number] = index;
    ordinals_.push_back(ordinal);
    bonesOf_.push_back(0);
    if (type == kObject) lastObject_ = index;
    current_ = index;
    scene_.items.push_back(std::move(item));
    return scene_.items.back();
  }

  void loadObjectLayer() {
    auto [layer, rest] = splitFirstWord(text_.rest());
    text_.integer(layer, "object layer");
    const std::optional<std::uint32_t> id = takeId(rest);
    loadObject(rest, id);
  }

  void loadObject(const std::string &path, std::optional<std::uint32_t> id) {
    if (path.empty()) text_.fail(text_.keyword() + " without a file name");
    declare(kObject, objectNameOf(path), id).fileName = path;
  }

  void addNullObject() {
    std::string rest = text_.rest();
    // A null's name may itself look like an id; an id is followed by the name.
    std::optional<std::uint32_t> id;
    if (rest.find_first_of(" \t") != std::string::npos) id = takeId(rest);
    declare(kObject, rest.empty() ? "Null" : rest, id);
  }

  void addItem(int type, const char *defaultName) {
    std::string rest = text_.rest();
    const std::optional<std::uint32_t> id = takeId(rest);
    declare(type, defaultName, id);
  }

  void name(int type) {
    const std::string name = text_.rest();
    if (name.empty()) text_.fail(text_.keyword() + " without a name");
    current(type).name = name;
  }

  void parentItem() {
    currentItem();
    const std::string word = single();
    const std::optional<std::uint32_t> number = hexNumber(word);
    if (!number.has_value()) text_.fail("\"" + word + "\" is not an item number");
    parents_[*current_] = {*number, text_.lineNumber()};
  }

  void zoomFactor() {
    ItemDescription &camera = current(kCamera);
    const std::string word = single();
    if (word != "(envelope)") {
      const double zoom = text_.number(word, "zoom factor");
      if (!(zoom > 0.0)) text_.fail("the zoom factor must be positive");
      camera.zoomFactor = zoom;
      return;
    }
    const int line = text_.lineNumber();
    if (!text_.advance()) text_.failAt(line, "ZoomFactor (envelope) without its envelope");
    if (!text_.opensBlock() || text_.blockName() != "Envelope") text_.fail("expected the zoom factor's { Envelope");
    camera.zoomEnvelope = readEnvelopeBlock(text_);
  }

  void frameSize() {
    const std::vector<std::string> words = text_.arguments();
    // A single number is the preset index of older files, which the host
    // has no use for.
    if (text_.keyword() == "Resolution" && words.size() == 1) return;
    ItemDescription &camera = current(kCamera);
    if (words.size() != 2) text_.fail(text_.keyword() + " takes a width and a height");
    const long long width = text_.integer(words[0], "width");
    const long long height = text_.integer(words[1], "height");
    if (width < 1 || height < 1 || width > kFrameLimit || height > kFrameLimit) text_.fail("a frame size is positive");
    camera.resolution = {static_cast<int>(width), static_cast<int>(height)};
  }

  // --- motion -----------------------------------------------------------------

  void motion(int type) {
    current(type);
    motion_ = current_;
  }

  void numChannels() {
    if (!motion_.has_value()) return;
    if (text_.integer(single(), "channel count") < 0) text_.fail("a channel count cannot be negative");
  }

  // "Channel N" and its envelope. Channels the item does not have (a
  // camera's scale, numbers past the nine motion channels) are read and
  // dropped.
  void channel() {
    if (!motion_.has_value()) return;
    const long long number = text_.integer(single(), "channel number");
    if (number < 0) text_.fail("a channel number cannot be negative");
    const int line = text_.lineNumber();
    if (!text_.advance()) text_.failAt(line, "Channel " + std::to_string(number) + " without its envelope");
    if (!text_.opensBlock() || text_.blockName() != "Envelope")
      text_.fail("expected the { Envelope of channel " + std::to_string(number));
    EnvelopeDescription envelope = readEnvelopeBlock(text_);
    ItemDescription &item = scene_.items[*motion_];
    const long long slots = item.type == kCamera ? 6 : static_cast<long long>(kMotionChannels.size());
    if (number < slots) item.motion[static_cast<std::size_t>(number)] = std::move(envelope);
  }

  // A plug-in's own data, up to EndPlugin.
  void plugin() {
    const int line = text_.lineNumber();
    for (;;) {
      if (!text_.advance()) text_.failAt(line, "Plugin without EndPlugin");
      if (text_.opensBlock())
        text_.skipBlock();
      else if (text_.keyword() == "EndPlugin")
        return;
    }
  }

  // --- parents ----------------------------------------------------------------

  void resolveParents() {
    for (const auto &[child, link] : parents_) {
      const auto found = byNumber_.find(link.number);
      if (found == byNumber_.end()) text_.failAt(link.line, "ParentItem " + hex(link.number) + " names no item");
      scene_.items[child].parent = found->second;
    }
    for (const auto &[child, link] : parents_) {
      std::optional<std::size_t> up = scene_.items[child].parent;
      for (std::size_t steps = 0; up.has_value() && steps <= scene_.items.size(); ++steps) {
        if (*up == child) text_.failAt(link.line, "ParentItem " + hex(link.number) + " makes a parent cycle");
        up = scene_.items[*up].parent;
      }
    }
  }

  static std::string hex(std::uint32_t number) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(number));
    return buffer;
  }

  SceneFileText &text_;
  SceneDescription scene_;
  long long version_ = 0;
  std::optional<std::size_t> current_;     // the item later keywords describe
  std::optional<std::size_t> lastObject_;  // the object later bones belong to
  std::optional<std::size_t> motion_;      // the item whose channels follow
  std::array<std::uint32_t, 4> counts_{};  // items declared, by type
  std::vector<std::uint32_t> ordinals_;    // each item's ordinal among its type
  std::vector<std::uint32_t> bonesOf_;     // bones declared, by object
  std::unordered_map<std::uint32_t, std::size_t> byNumber_;
  std::map<std::size_t, ParentLink> parents_;
};

const std::unordered_map<std::string, Parser::Keyword> &Parser::keywords() {
  using R = RangeDescription;
  static const std::unordered_map<std::string, Keyword> table = {
      {"FirstFrame", [](Parser &p) { p.frame(&R::first, false, false); }},
      {"LastFrame", [](Parser &p) { p.frame(&R::last, false, false); }},
      {"FrameStep", [](Parser &p) { p.frame(&R::step, false, true); }},
      {"PreviewFirstFrame", [](Parser &p) { p.frame(&R::first, true, false); }},
      {"PreviewLastFrame", [](Parser &p) { p.frame(&R::last, true, false); }},
      {"PreviewFrameStep", [](Parser &p) { p.frame(&R::step, true, true); }},
      {"FramesPerSecond", [](Parser &p) { p.framesPerSecond(); }},
      {"CurrentFrame", [](Parser &p) { p.currentFrame(); }},
      {"LoadObjectLayer", [](Parser &p) { p.loadObjectLayer(); }},
      {"LoadObject", [](Parser &p) { p.loadObject(p.text_.rest(), std::nullopt); }},
      {"AddNullObject", [](Parser &p) { p.addNullObject(); }},
      {"AddBone", [](Parser &p) { p.addItem(kBone, "Bone"); }},
      {"AddLight", [](Parser &p) { p.addItem(kLight, "Light"); }},
      {"AddCamera", [](Parser &p) { p.addItem(kCamera, "Camera"); }},
      {"BoneName", [](Parser &p) { p.name(kBone); }},
      {"LightName", [](Parser &p) { p.name(kLight); }},
      {"CameraName", [](Parser &p) { p.name(kCamera); }},
      {"BoneRestPosition", [](Parser &p) { p.current(kBone).restPosition = p.vector("rest position"); }},
      {"BoneRestDirection",
       [](Parser &p) { p.current(kBone).restRotation = p.vector("rest angle", kRadiansPerDegree); }},
      {"BoneRestRotation",
       [](Parser &p) { p.current(kBone).restRotation = p.vector("rest angle", kRadiansPerDegree); }},
      {"PivotPosition", [](Parser &p) { p.currentItem().pivot = p.vector("pivot position"); }},
      {"PivotRotation", [](Parser &p) { p.currentItem().pivotRotation = p.vector("pivot angle", kRadiansPerDegree); }},
      {"ParentItem", [](Parser &p) { p.parentItem(); }},
      {"ZoomFactor", [](Parser &p) { p.zoomFactor(); }},
      {"FrameSize", [](Parser &p) { p.frameSize(); }},
      {"Resolution", [](Parser &p) { p.frameSize(); }},
      {"ObjectMotion", [](Parser &p) { p.motion(kObject); }},
      {"BoneMotion", [](Parser &p) { p.motion(kBone); }},
      {"LightMotion", [](Parser &p) { p.motion(kLight); }},
      {"CameraMotion", [](Parser &p) { p.motion(kCamera); }},
      {"NumChannels", [](Parser &p) { p.numChannels(); }},
      {"Channel", [](Parser &p) { p.channel(); }},
      {"Plugin", [](Parser &p) { p.plugin(); }},
  };
  return table;
}

}  // namespace

SceneDescription parseSceneFile(SceneFileText &text) { return Parser(text).parse(); }

}  // namespace lwsim
