// TIEColorIndexCache: an exact direct-mapped cache from 24-bit colours to
// palette indices, for lookups that search (the neural quantizer's).
#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

// 2^16 slots of one word each, the full colour above its index, so a hit is
// always the answer the search would give. Not for sharing between threads.
class TIEColorIndexCache {
 public:
  static constexpr int kBits = 16;

  // Every slot starts with colour 0, except the slot of colour 0 itself,
  // which starts with colour 1: no slot holds a colour that maps to it.
  TIEColorIndexCache() : slots_(size_t(1) << kBits, 0) { slots_[SlotOf(0)] = 1 << 8; }

  // The index of `rgb` (R * 65536 + G * 256 + B), from the cache or from
  // search(rgb), which must return 0..255.
  template <class TSearch>
  int Get(uint32_t rgb, const TSearch& search) {
    uint32_t& slot = slots_[SlotOf(rgb)];
    if (slot >> 8 != rgb) slot = rgb << 8 | uint32_t(search(rgb));
    return int(slot & 255);
  }

 private:
  static uint32_t SlotOf(uint32_t rgb) { return (rgb * 0x9E3779B1u) >> (32 - kBits); }

  std::vector<uint32_t> slots_;
};

}  // namespace quillet
