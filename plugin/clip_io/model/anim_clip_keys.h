// A channel's keys in envelope order, held in blocks that are never moved:
// a curve read from a file grows without ever needing room for two copies
// of itself, and a channel without keys holds no block.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <vector>

namespace lwp::akio {

struct AnimClipKey {
  double time = 0.0;  // seconds
  double value = 0.0;
  int shape = 0;  // the host's shape code, carried unchanged
  double tension = 0.0;
  double continuity = 0.0;
  double bias = 0.0;
  double param0 = 0.0;
  double param1 = 0.0;
  double param2 = 0.0;
  double param3 = 0.0;
};

class AnimClipKeys {
  using Blocks = std::vector<std::vector<AnimClipKey>>;

 public:
  // Walks the keys in order.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = AnimClipKey;
    using difference_type = std::ptrdiff_t;
    using pointer = const AnimClipKey *;
    using reference = const AnimClipKey &;

    const_iterator(const Blocks &blocks, std::size_t block) : blocks_(&blocks), block_(block) {}
    reference operator*() const { return (*blocks_)[block_][key_]; }
    pointer operator->() const { return &**this; }
    const_iterator &operator++();
    bool operator==(const const_iterator &other) const { return block_ == other.block_ && key_ == other.key_; }
    bool operator!=(const const_iterator &other) const { return !(*this == other); }

   private:
    const Blocks *blocks_;
    std::size_t block_;
    std::size_t key_ = 0;
  };

  AnimClipKeys() = default;
  AnimClipKeys(std::initializer_list<AnimClipKey> keys);

  AnimClipKey &emplace_back();
  void push_back(const AnimClipKey &key) { emplace_back() = key; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const AnimClipKey &front() const { return blocks_.front().front(); }
  const_iterator begin() const { return {blocks_, 0}; }
  const_iterator end() const { return {blocks_, blocks_.size()}; }

 private:
  // The keys the first block has room for, and the most any block has.
  static constexpr std::size_t kFirstBlockKeys = 2;
  static constexpr std::size_t kLargestBlockKeys = 4096;

  Blocks blocks_;
  std::size_t size_ = 0;
};

}  // namespace lwp::akio
