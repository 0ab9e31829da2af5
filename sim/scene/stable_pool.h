// Records that keep their address while they live, in blocks that never
// move; freed places are reused. Whether any pointer is a live record of the
// pool is answered from the blocks' address ranges, so a host handle made of
// a record's address is checked without a table of handles and records are
// not allocated one at a time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace lwsim {

template <typename Record>
class StablePool {
 public:
  StablePool() = default;
  StablePool(const StablePool &) = delete;
  StablePool &operator=(const StablePool &) = delete;

  // A new record, value-initialised.
  Record *make() {
    Slot *slot = freeSlot();
    slot->record = Record{};
    slot->live = true;
    return &slot->record;
  }

  // Frees a live record of this pool; its place may be reused at once.
  void release(Record *record) {
    Slot *slot = slotOf(record);
    if (slot == nullptr || !slot->live) return;
    slot->live = false;
    freed_.push_back(slot);
  }

  bool isLive(const void *pointer) const {
    const Slot *slot = slotOf(pointer);
    return slot != nullptr && slot->live;
  }

  // Frees every record and every block.
  void clear() {
    blocks_.clear();
    freed_.clear();
    next_ = end_ = nullptr;
  }

 private:
  struct Slot {
    Record record{};
    bool live = false;
  };
  struct Block {
    std::uintptr_t first = 0;  // the address of the first slot's record
    std::size_t size = 0;
    std::unique_ptr<Slot[]> slots;
  };
  // Blocks double from eight records to 4096, so that a small envelope
  // takes little and a large one few blocks.
  static constexpr std::size_t kFirstBlock = 8;
  static constexpr std::size_t kDoublings = 9;

  static std::uintptr_t addressOf(const void *pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

  Slot *freeSlot() {
    if (!freed_.empty()) {
      Slot *slot = freed_.back();
      freed_.pop_back();
      return slot;
    }
    if (next_ == end_) addBlock();
    return next_++;
  }

  void addBlock() {
    const std::size_t size = kFirstBlock << std::min(blocks_.size(), kDoublings);
    Block block{0, size, std::make_unique<Slot[]>(size)};
    block.first = addressOf(&block.slots[0].record);
    // Kept ordered by address for the look-up in slotOf.
    const auto at = std::upper_bound(blocks_.begin(), blocks_.end(), block.first,
                                     [](std::uintptr_t address, const Block &b) { return address < b.first; });
    next_ = blocks_.insert(at, std::move(block))->slots.get();
    end_ = next_ + size;
  }

  // The slot whose record is at pointer, or null.
  Slot *slotOf(const void *pointer) const {
    const std::uintptr_t address = addressOf(pointer);
    auto after = std::upper_bound(blocks_.begin(), blocks_.end(), address,
                                  [](std::uintptr_t a, const Block &b) { return a < b.first; });
    if (after == blocks_.begin()) return nullptr;
    const Block &block = *std::prev(after);
    const std::uintptr_t offset = address - block.first;
    if (offset % sizeof(Slot) != 0 || offset / sizeof(Slot) >= block.size) return nullptr;
    return &block.slots[offset / sizeof(Slot)];
  }

  std::vector<Block> blocks_;
  // The places of the newest block not used yet.
  Slot *next_ = nullptr;
  Slot *end_ = nullptr;
  std::vector<Slot *> freed_;
};

}  // namespace lwsim
