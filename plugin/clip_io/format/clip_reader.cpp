#include "clip_reader.h"

#include <array>
#include <cstdint>
#include <exception>
#include <iterator>
#include <limits>
#include <string_view>
#include <vector>

#include "../../common/commands/exceptions.h"
#include "../../platform/ui/message_box.h"
#include "../../platform/xml/xml_reader.h"
#include "clip_attributes.h"

namespace lwp::akio {

namespace {

using platform::XmlElement;
using platform::XmlStep;

constexpr const char *kRootTag = "docroot";
constexpr const char *kCategoryType = "LW_animClip";
constexpr const char *kCategoryFormat = "1.0";

// Room made before the walk; more clips are accepted.
constexpr std::size_t kClipReserve = 256;

// What the clips read take in memory stays within this many times the
// file's size, beside a small allowance: a clip as the writer makes it takes
// well under its size, and a document of bare elements that would take many
// times it is refused before memory grows.
constexpr std::uintmax_t kMemoryPerFileByte = 3;
constexpr std::uintmax_t kMemoryAllowance = std::uintmax_t{1} << 20;

constexpr double kDefaultFps = 24.0;

// An attribute's text, or nothing when it is absent or longer than a clip's
// texts may be.
std::optional<std::string> clipAttribute(const XmlElement &element, const char *name) {
  return element.attribute(name, kAttributeTextLimit);
}

// An absent value compares unequal to any text.
bool attributeEquals(const XmlElement &element, const char *name, const char *expected) {
  const std::optional<std::string> value = clipAttribute(element, name);
  return value && *value == expected;
}

bool isClipCategory(const XmlElement &element) {
  return attributeEquals(element, "type", kCategoryType) && attributeEquals(element, "format", kCategoryFormat);
}

AnimClipItem readClipHeader(const XmlElement &clip) {
  AnimClipItem item;
  item.itemName = attributeText(clipAttribute(clip, "item"), "");
  item.fullPath = attributeText(clipAttribute(clip, "fullpath"), "");
  item.rangeStart = attributeNumber(clipAttribute(clip, "range_start"), std::numeric_limits<double>::lowest());
  item.rangeEnd = attributeNumber(clipAttribute(clip, "range_end"), std::numeric_limits<double>::max());
  item.fps = attributeNumber(clipAttribute(clip, "fps"), kDefaultFps);
  return item;
}

Vector3 readPoseVector(const XmlElement &element) {
  return {attributeNumber(clipAttribute(element, "x"), 0.0), attributeNumber(clipAttribute(element, "y"), 0.0),
          attributeNumber(clipAttribute(element, "z"), 0.0)};
}

// The key attributes in the order of AnimClipKey's numbers; a missing one
// reads as 0, a repeated one counts once.
constexpr std::string_view kKeyAttributes[] = {"time", "value",  "shape",  "tension", "continuity",
                                               "bias", "param0", "param1", "param2",  "param3"};

AnimClipKey readKey(const XmlElement &element) {
  AnimClipKey key;
  double *const numbers[] = {&key.time, &key.value,  nullptr,     &key.tension, &key.continuity,
                             &key.bias, &key.param0, &key.param1, &key.param2,  &key.param3};
  unsigned seen = 0;
  element.forEachAttribute([&](std::string_view name, std::string_view value) {
    for (unsigned index = 0; index < std::size(kKeyAttributes); ++index) {
      if (name != kKeyAttributes[index] || (seen & (1u << index)) != 0) continue;
      seen |= 1u << index;
      if (numbers[index] != nullptr)
        *numbers[index] = decimalNumber(value.data());
      else
        key.shape = decimalInteger(value.data());
      return;
    }
  });
  return key;
}

// Reads the elements of a clip document in one pass, each element once: an
// element counts for its nearest enclosing clip, basepose, targets, sources
// or fcurve, so nesting never makes the work grow faster than the document.
// The n-th fcurve of every sources element of a clip fills its n-th channel.
class ClipDocumentReader final : public platform::XmlVisitor {
 public:
  explicit ClipDocumentReader(AnimClip &clips) : clips_(clips) {}

  void begin(std::uintmax_t fileBytes) override { memoryLeft_ = kMemoryPerFileByte * fileBytes + kMemoryAllowance; }

  bool sawCategory() const { return categoryDepth_ > 0; }
  int resultCode() const {
    if (stoppedAtFcurve_) return kReadStoppedAtFcurve;
    return sawBasePose_ ? (kReadAll | kBasePoseBit) : kReadAll;
  }

  XmlStep enter(const XmlElement &element) override {
    if (stoppedAtFcurve_ || categoryDone_) return XmlStep::Stop;
    ++depth_;
    const std::string tag = element.tagName();
    if (depth_ == 1 && tag != kRootTag) return XmlStep::Stop;
    if (!sawCategory()) {
      if (depth_ > 1 && tag == "category" && isClipCategory(element)) categoryDepth_ = depth_;
      roles_.push_back(Role::Other);
      return XmlStep::Descend;
    }
    roles_.push_back(enterInCategory(tag, element));
    return XmlStep::Descend;
  }

  void leave() override {
    switch (roles_.back()) {
      case Role::Clip:
        finishClip();
        break;
      case Role::BasePose:
        finishBasePose();
        break;
      case Role::Targets:
        targets_.pop_back();
        break;
      case Role::Sources:
        sources_.pop_back();
        break;
      case Role::Fcurve:
        fcurves_.pop_back();
        break;
      case Role::Other:
        break;
    }
    roles_.pop_back();
    if (depth_-- == categoryDepth_) categoryDone_ = true;
  }

 private:
  enum class Role { Other, Clip, BasePose, Targets, Sources, Fcurve };

  struct OpenClip {
    std::size_t item = 0;              // index in clips_
    std::vector<AnimClipKeys> curves;  // the keys of fcurve n of every sources
    bool hasBasePose = false;
    std::array<bool, 4> poseSet{};  // pivot_pos, pivot_rot, rest_pos, rest_rot
  };
  struct OpenSources {
    std::size_t clip = 0;  // in open_
    std::size_t nextCurve = 0;
  };
  struct OpenFcurve {
    std::size_t clip = 0;
    std::size_t curve = 0;
  };

  static constexpr const char *kPoseTags[] = {"pivot_pos", "pivot_rot", "rest_pos", "rest_rot"};

  Role enterInCategory(const std::string &tag, const XmlElement &element) {
    if (tag == "clip") {
      AnimClipItem header = readClipHeader(element);
      take(sizeof(AnimClipItem) + header.itemName.size() + header.fullPath.size());
      open_.push_back(OpenClip{clips_.size(), {}, false, {}});
      clips_.push_back(std::move(header));
      return Role::Clip;
    }
    if (open_.empty()) return Role::Other;
    if (tag == "key") {
      if (fcurves_.empty()) return Role::Other;
      take(sizeof(AnimClipKey));
      open_[fcurves_.back().clip].curves[fcurves_.back().curve].push_back(readKey(element));
      return Role::Other;
    }
    if (tag == "param") {
      if (targets_.empty()) return Role::Other;
      std::string channel = attributeText(clipAttribute(element, "channel"), "");
      take(sizeof(AnimClipChannel) + channel.size());
      clips_[open_[targets_.back()].item].channels.push_back(AnimClipChannel{std::move(channel), {}});
      return Role::Other;
    }
    if (tag == "fcurve") return enterFcurve();
    if (tag == "targets") {
      targets_.push_back(open_.size() - 1);
      return Role::Targets;
    }
    if (tag == "sources") {
      sources_.push_back(OpenSources{open_.size() - 1, 0});
      return Role::Sources;
    }
    if (tag == "basepose") return enterBasePose();
    if (!poses_.empty()) readPosePart(tag, element);
    return Role::Other;
  }

  Role enterFcurve() {
    if (sources_.empty()) return Role::Other;
    OpenSources &sources = sources_.back();
    std::vector<AnimClipKeys> &curves = open_[sources.clip].curves;
    const std::size_t curve = sources.nextCurve++;
    if (curve == curves.size()) {
      take(sizeof(AnimClipKeys));
      curves.emplace_back();
    }
    fcurves_.push_back(OpenFcurve{sources.clip, curve});
    return Role::Fcurve;
  }

  // Counts bytes the clips are about to take against what the file allows.
  void take(std::uintmax_t bytes) {
    if (bytes > memoryLeft_)
      throw lw::ex::CFileReadWriteEx("The file holds more clips, channels or keys than a file of its size can.");
    memoryLeft_ -= bytes;
  }

  // Only a clip's first basepose counts.
  Role enterBasePose() {
    OpenClip &clip = open_.back();
    if (clip.hasBasePose) return Role::Other;
    clip.hasBasePose = true;
    poses_.push_back(open_.size() - 1);
    return Role::BasePose;
  }

  // The first element of each kind within the basepose sets its vector.
  void readPosePart(const std::string &tag, const XmlElement &element) {
    OpenClip &clip = open_[poses_.back()];
    AnimClipItem &item = clips_[clip.item];
    Vector3 *const vectors[] = {&item.pivotPos, &item.pivotRot, &item.restPos, &item.restRot};
    for (std::size_t part = 0; part < std::size(kPoseTags); ++part) {
      if (tag != kPoseTags[part] || clip.poseSet[part]) continue;
      clip.poseSet[part] = true;
      *vectors[part] = readPoseVector(element);
    }
  }

  void finishBasePose() {
    const OpenClip &clip = open_[poses_.back()];
    poses_.pop_back();
    for (std::size_t part = 0; part < std::size(kPoseTags); ++part)
      if (!clip.poseSet[part])
        throw lw::ex::CFileReadWriteEx(std::string("A basepose element lacks its ") + kPoseTags[part] + " element.");
    sawBasePose_ = true;
  }

  // The clip's fcurves fill its channels; one without a channel stops the
  // reading.
  void finishClip() {
    OpenClip &clip = open_.back();
    std::vector<AnimClipChannel> &channels = clips_[clip.item].channels;
    if (clip.curves.size() > channels.size()) {
      stoppedAtFcurve_ = true;
    } else {
      for (std::size_t curve = 0; curve < clip.curves.size(); ++curve)
        channels[curve].keys = std::move(clip.curves[curve]);
    }
    open_.pop_back();
  }

  AnimClip &clips_;
  std::uintmax_t memoryLeft_ = 0;
  int depth_ = 0;
  int categoryDepth_ = 0;  // of the clip category; 0 until found
  bool categoryDone_ = false;
  bool stoppedAtFcurve_ = false;
  bool sawBasePose_ = false;
  std::vector<Role> roles_;  // of the open elements
  std::vector<OpenClip> open_;
  std::vector<std::size_t> targets_;  // the open clip of each open targets
  std::vector<std::size_t> poses_;    // the open clip of each counted basepose
  std::vector<OpenSources> sources_;
  std::vector<OpenFcurve> fcurves_;
};

AnimClip readDocument(const std::string &path, int &resultCode) {
  AnimClip clips;
  clips.reserve(kClipReserve);
  ClipDocumentReader reader(clips);
  std::string problem;
  if (!platform::readXmlFile(path, reader, problem)) return {};
  if (!reader.sawCategory()) return {};
  resultCode = reader.resultCode();
  if (resultCode == kReadStoppedAtFcurve) return {};
  return clips;
}

}  // namespace

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
