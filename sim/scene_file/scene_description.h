// What a scene file describes, read whole before any of it reaches a scene:
// the scene's ranges, frame rate and current frame, and its items with their
// parents, pivots, rest values, camera settings and motion keys. Adding it to
// a scene cannot fail, so a file is either loaded whole or not at all.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "../scene/envelope.h"
#include "../scene/scene.h"

namespace lwsim {

struct EnvelopeDescription {
  std::vector<EnvelopeKey> keys;  // as the file lists them, no two at one time
  int pre = kConstant;
  int post = kConstant;
};

struct ItemDescription {
  int type = kObject;
  std::string name;
  std::string fileName;                               // a mesh's object file; empty for nulls
  std::size_t owner = 0;                              // a bone's object (an index of the items)
  std::optional<std::size_t> parent;                  // an index of the items
  std::map<std::size_t, EnvelopeDescription> motion;  // by motion channel slot
  std::optional<Vector3> pivot;
  std::optional<Vector3> pivotRotation;  // radians
  std::optional<Vector3> restPosition;
  std::optional<Vector3> restRotation;  // radians
  std::optional<double> zoomFactor;
  std::optional<EnvelopeDescription> zoomEnvelope;
  std::optional<std::pair<int, int>> resolution;
};

struct RangeDescription {
  std::optional<int> first;
  std::optional<int> last;
  std::optional<int> step;
};

struct SceneDescription {
  std::string name;      // the scene's name: the file's base name
  std::string fileName;  // the file it was read from
  RangeDescription render;
  RangeDescription preview;
  std::optional<double> framesPerSecond;
  std::optional<double> currentFrame;  // turned into time with the scene's frame rate
  std::vector<ItemDescription> items;  // in file order; owners and parents valid and acyclic
};

// Adds the items to the scene (their keys replace the key a new item gets)
// and takes over the settings the description has; the scene is named after
// the file.
void addToScene(const SceneDescription &description, Scene &scene);

}  // namespace lwsim
