#include "clip_reader.h"

#include <exception>
#include <limits>

#include "../../common/commands/exceptions.h"
#include "../../platform/ui/message_box.h"
#include "../../platform/xml/xml_document.h"
#include "clip_attributes.h"

namespace lwp::akio {

namespace {

using platform::XmlElement;

constexpr const char *kRootTag = "docroot";
constexpr const char *kCategoryType = "LW_animClip";
constexpr const char *kCategoryFormat = "1.0";

// Room made before the walk; more clips are accepted.
constexpr std::size_t kClipReserve = 256;

constexpr double kDefaultFps = 24.0;

// An absent value compares unequal to any text.
bool attributeEquals(const XmlElement &element, const char *name, const char *expected) {
  const std::optional<std::string> value = element.attribute(name);
  return value && *value == expected;
}

// The first category of the clip type and format, at any depth.
XmlElement clipCategory(const XmlElement &root) {
  for (const XmlElement &category : root.descendants("category"))
    if (attributeEquals(category, "type", kCategoryType) && attributeEquals(category, "format", kCategoryFormat))
      return category;
  return {};
}

AnimClipItem readClipHeader(const XmlElement &clip) {
  AnimClipItem item;
  item.itemName = attributeText(clip.attribute("item"), "");
  item.fullPath = attributeText(clip.attribute("fullpath"), "");
  item.rangeStart = attributeNumber(clip.attribute("range_start"), std::numeric_limits<double>::lowest());
  item.rangeEnd = attributeNumber(clip.attribute("range_end"), std::numeric_limits<double>::max());
  item.fps = attributeNumber(clip.attribute("fps"), kDefaultFps);
  return item;
}

Vector3 readPoseVector(const XmlElement &basePose, const char *tag) {
  const XmlElement element = basePose.firstDescendant(tag);
  if (!element) throw lw::ex::CFileReadWriteEx(std::string("A basepose element lacks its ") + tag + " element.");
  return {attributeNumber(element.attribute("x"), 0.0), attributeNumber(element.attribute("y"), 0.0),
          attributeNumber(element.attribute("z"), 0.0)};
}

// Sets the base pose from the clip's first basepose element; false when the
// clip has none (the pose then stays zero).
bool readBasePose(const XmlElement &clip, AnimClipItem &item) {
  const XmlElement basePose = clip.firstDescendant("basepose");
  if (!basePose) return false;
  item.pivotPos = readPoseVector(basePose, "pivot_pos");
  item.pivotRot = readPoseVector(basePose, "pivot_rot");
  item.restPos = readPoseVector(basePose, "rest_pos");
  item.restRot = readPoseVector(basePose, "rest_rot");
  return true;
}

void readTargets(const XmlElement &clip, AnimClipItem &item) {
  for (const XmlElement &targets : clip.descendants("targets"))
    for (const XmlElement &param : targets.descendants("param"))
      item.channels.push_back(AnimClipChannel{attributeText(param.attribute("channel"), ""), {}});
}

// A key attribute the writer always gives; a missing one reads as 0.
double keyNumber(const XmlElement &key, const char *name) {
  const std::optional<std::string> value = key.attribute(name);
  return value ? decimalNumber(value->c_str()) : 0.0;
}

AnimClipKey readKey(const XmlElement &element) {
  AnimClipKey key;
  key.time = keyNumber(element, "time");
  key.value = keyNumber(element, "value");
  const std::optional<std::string> shape = element.attribute("shape");
  key.shape = shape ? decimalInteger(shape->c_str()) : 0;
  key.tension = keyNumber(element, "tension");
  key.continuity = keyNumber(element, "continuity");
  key.bias = keyNumber(element, "bias");
  key.param0 = keyNumber(element, "param0");
  key.param1 = keyNumber(element, "param1");
  key.param2 = keyNumber(element, "param2");
  key.param3 = keyNumber(element, "param3");
  return key;
}

// The n-th fcurve of every sources element fills channel n; false when an
// fcurve has no channel of its number.
bool readSources(const XmlElement &clip, AnimClipItem &item) {
  for (const XmlElement &sources : clip.descendants("sources")) {
    std::size_t number = 0;
    for (const XmlElement &fcurve : sources.descendants("fcurve")) {
      if (number >= item.channels.size()) return false;
      std::vector<AnimClipKey> &keys = item.channels[number++].keys;
      if (keys.empty()) keys.reserve(kChannelKeyReserve);  // a hint, given once per channel
      for (const XmlElement &key : fcurve.descendants("key")) keys.push_back(readKey(key));
    }
  }
  return true;
}

AnimClip readDocument(const std::string &path, int &resultCode) {
  platform::XmlDocument document;
  if (!document.load(path)) return {};
  const XmlElement root = document.root();
  if (root.tagName() != kRootTag) return {};
  const XmlElement category = clipCategory(root);
  if (!category) return {};
  AnimClip clips;
  clips.reserve(kClipReserve);
  resultCode = readClipCategory(category, clips);
  if (resultCode == kReadStoppedAtFcurve) return {};
  return clips;
}

}  // namespace

int readClipCategory(const XmlElement &category, AnimClip &clips) {
  bool sawBasePose = false;
  for (const XmlElement &clip : category.descendants("clip")) {
    AnimClipItem &item = clips.emplace_back(readClipHeader(clip));
    if (readBasePose(clip, item)) sawBasePose = true;
    readTargets(clip, item);
    if (!readSources(clip, item)) return kReadStoppedAtFcurve;
  }
  return sawBasePose ? (kReadAll | kBasePoseBit) : kReadAll;
}

AnimClip readClipFile(const std::string &path, int &resultCode) {
  // What was read is dropped with the document; the box tells why.
  try {
    return readDocument(path, resultCode);
  } catch (const lw::ex::CBaseEx &error) {
    platform::showMessageBox(kReaderErrorTitle, error.message());
  } catch (const std::exception &error) {
    platform::showMessageBox(kReaderErrorTitle, error.what());
  } catch (...) {
    platform::showMessageBox(kReaderErrorTitle, "The clip file could not be read.");
  }
  return {};
}

}  // namespace lwp::akio
