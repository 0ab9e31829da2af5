#include "scene_description.h"

namespace lwsim {

namespace {

void fill(Envelope &envelope, const EnvelopeDescription &description) {
  envelope.clear();
  for (const EnvelopeKey &key : description.keys) *envelope.createKey(key.time, key.value) = key;
  envelope.setPreBehavior(description.pre);
  envelope.setPostBehavior(description.post);
}

void take(FrameRange &range, const RangeDescription &description) {
  range.first = description.first.value_or(range.first);
  range.last = description.last.value_or(range.last);
  range.step = description.step.value_or(range.step);
}

SceneItem &create(Scene &scene, const ItemDescription &item, const std::vector<SceneItem *> &made) {
  switch (item.type) {
    case kLight:
      return scene.addLight(item.name);
    case kCamera:
      return scene.addCamera(item.name);
    case kBone:
      return scene.addBone(*made[item.owner], item.name);
    default:
      return scene.addObject(item.name, item.fileName);
  }
}

void describe(Scene &scene, SceneItem &made, const ItemDescription &item) {
  for (const auto &[slot, envelope] : item.motion)
    if (Channel *channel = scene.findChannel(made, kMotionChannels[slot])) fill(channel->envelope(), envelope);
  made.pivot = item.pivot.value_or(made.pivot);
  made.pivotRotation = item.pivotRotation.value_or(made.pivotRotation);
  made.restPosition = item.restPosition.value_or(made.restPosition);
  made.restRotation = item.restRotation.value_or(made.restRotation);
  made.zoomFactor = item.zoomFactor.value_or(made.zoomFactor);
  if (item.zoomEnvelope.has_value()) fill(scene.ensureChannel(made, "ZoomFactor").envelope(), *item.zoomEnvelope);
  if (item.resolution.has_value()) {
    made.resolutionWidth = item.resolution->first;
    made.resolutionHeight = item.resolution->second;
  }
}

}  // namespace

void addToScene(const SceneDescription &description, Scene &scene) {
  if (description.framesPerSecond.has_value()) scene.setFramesPerSecond(*description.framesPerSecond);
  take(scene.renderRange(), description.render);
  take(scene.previewRange(), description.preview);
  if (description.currentFrame.has_value()) scene.setTime(*description.currentFrame / scene.framesPerSecond());
  scene.setFile(description.name, description.fileName);

  std::vector<SceneItem *> made;
  made.reserve(description.items.size());
  for (const ItemDescription &item : description.items) {
    made.push_back(&create(scene, item, made));
    describe(scene, *made.back(), item);
  }
  // Parents may come later in the file than their children.
  for (std::size_t i = 0; i < description.items.size(); ++i)
    if (description.items[i].parent.has_value()) scene.setParent(*made[i], made[*description.items[i].parent]);
}

}  // namespace lwsim
