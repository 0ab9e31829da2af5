#include "anim_clip_keys.h"

#include <algorithm>

namespace lwp::akio {

AnimClipKeys::const_iterator &AnimClipKeys::const_iterator::operator++() {
  if (++key_ == (*blocks_)[block_].size()) {
    ++block_;
    key_ = 0;
  }
  return *this;
}

AnimClipKeys::AnimClipKeys(std::initializer_list<AnimClipKey> keys) {
  for (const AnimClipKey &key : keys) push_back(key);
}

// Each block has room for twice the keys of the one before, up to the
// largest: a short curve wastes little, a long one is a few large blocks.
AnimClipKey &AnimClipKeys::emplace_back() {
  if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) {
    const std::size_t room =
        blocks_.empty() ? kFirstBlockKeys : std::min(2 * blocks_.back().capacity(), kLargestBlockKeys);
    blocks_.emplace_back().reserve(room);
  }
  ++size_;
  return blocks_.back().emplace_back();
}

}  // namespace lwp::akio
