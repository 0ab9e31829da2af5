#include "shape_override.h"

namespace lwp::cks {

bool keepsOwnShape(const KeyRecord &record) { return record.shape == kKeepOwnShape; }

KeyRecord withShapeOf(KeyRecord key, const KeyRecord &source) {
  key.shape = source.shape;
  key.tension = source.tension;
  key.continuity = source.continuity;
  key.bias = source.bias;
  key.param = source.param;
  return key;
}

KeyRecord shapedBy(const KeyRecord &key, const KeyRecord &override) {
  return keepsOwnShape(override) ? key : withShapeOf(key, override);
}

}  // namespace lwp::cks
