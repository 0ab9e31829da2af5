// Item and scene settings that are not envelopes, carried in a clip as
// parameter channels ("LWParam.…", one key at time 0) and applied back as
// Layout commands.
#pragma once

#include <string>
#include <vector>

#include "../../host/lwitem.h"
#include "anim_clip.h"

namespace lwp::akio {

using ClipChannels = std::vector<AnimClipChannel>;

class CLWItemFn {
 public:
  // The scene's handler: no item, the name "LWScene".
  CLWItemFn();
  explicit CLWItemFn(LWItemID item);
  virtual ~CLWItemFn() = default;

  LWItemID item = nullptr;
  std::string itemName;

  // "LWParam.item.schemaPosX" and "LWParam.item.schemaPosY".
  ClipChannels getSchemaPos() const;
  // Selects the item and sends "SchematicPosition" when both channels are
  // present.
  void setSchemaPos(const ClipChannels &channels) const;
};

class CLWCameraFn : public CLWItemFn {
 public:
  using CLWItemFn::CLWItemFn;
  ~CLWCameraFn() override = default;

  // The zoom factor at time 0, unless the camera has a "ZoomFactor" channel
  // that carries it as an envelope.
  ClipChannels getZoomFactor() const;
  void setZoomFactor(const ClipChannels &channels) const;
  // Selects the camera and reads its resolution: X then Y.
  ClipChannels getFrameSize() const;
  // Selects the camera and sends "FrameSize" when both channels are present.
  void setFrameSize(const ClipChannels &channels) const;

 private:
  bool hasZoomEnvelope() const;
};

// Lights have no parameter channel.
class CLWLightFn : public CLWItemFn {
 public:
  using CLWItemFn::CLWItemFn;
  ~CLWLightFn() override = default;
};

class CLWSceneFn : public CLWItemFn {
 public:
  CLWSceneFn() = default;
  ~CLWSceneFn() override = default;

  // The render range: start, end, step.
  ClipChannels getFrameRange() const;
  void setFrameRange(const ClipChannels &channels) const;
  // The interface's preview range: start, end, step.
  ClipChannels getPreviewRange() const;
  void setPreviewRange(const ClipChannels &channels) const;
};

// What an integer command sends for a stored value: floor(value + 0.5),
// held within the range of int (NaN gives 0).
int roundedCommandArg(double value);

}  // namespace lwp::akio
