#include "run_shape.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "shape_override.h"

namespace lwp::cks {

namespace {

constexpr std::array<int, 5> kShapeCodes = {SHAPE_TCB, SHAPE_HERM, SHAPE_BEZ2, SHAPE_LINE, SHAPE_STEP};

// A value that is not a number would pass std::clamp unchanged.
double clampedUnit(double value) { return std::isnan(value) ? 0.0 : std::clamp(value, -1.0, 1.0); }

}  // namespace

int shapeCodeOf(int shapeIndex) {
  if (shapeIndex < 0 || static_cast<std::size_t>(shapeIndex) >= kShapeCodes.size()) return kKeepOwnShape;
  return kShapeCodes[static_cast<std::size_t>(shapeIndex)];
}

KeyRecord shapeOverrideOf(const RunSettings &settings) {
  KeyRecord shape;
  if (!settings.extraOpen || !settings.keyShape) {
    shape.shape = kKeepOwnShape;
    return shape;
  }
  shape.shape = shapeCodeOf(settings.shapeIndex);
  shape.tension = clampedUnit(settings.tension);
  shape.continuity = clampedUnit(settings.continuity);
  shape.bias = clampedUnit(settings.bias);
  return shape;
}

}  // namespace lwp::cks
