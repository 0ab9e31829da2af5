// Shape overrides of the key setter: a KeyRecord whose shape and seven
// parameters replace those of the keys it is applied to, unless its shape
// says that every key keeps its own.
#pragma once

#include "../../common/channels/key_records.h"

namespace lwp::cks {

// The shape 0xFFFFFFFF of an override or of a key to write.
inline constexpr int kKeepOwnShape = -1;

bool keepsOwnShape(const KeyRecord &record);

// The key with the shape, tension, continuity, bias and four params of
// source; time and value stay the key's.
KeyRecord withShapeOf(KeyRecord key, const KeyRecord &source);

// The key shaped by the override, or unchanged when the override keeps
// each key's own shape.
KeyRecord shapedBy(const KeyRecord &key, const KeyRecord &override);

}  // namespace lwp::cks
