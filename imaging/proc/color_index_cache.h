// TIEColorIndexCache: an exact direct-mapped cache from 24-bit colours to
// palette indices, for lookups that search (the neural quantizer's).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quillet {

// 2^bits slots of one word each, the full colour above its index, so a hit
// is always the answer the search would give. Not for sharing between threads.
class TIEColorIndexCache {
 public:
  static constexpr int kMinBits = 10, kMaxBits = 18;

  // Every slot starts with colour 0, except the slot of colour 0 itself,
  // which starts with colour 1: no slot holds a colour that maps to it.
  explicit TIEColorIndexCache(int bits = 16)
      : shift_(32 - std::clamp(bits, kMinBits, kMaxBits)), slots_(size_t(1) << (32 - shift_), 0) {
    slots_[SlotOf(0)] = 1 << 8;
  }

  // Enough slots for an image of `pixels` pixels: one per eight pixels,
  // within 2^kMinBits..2^kMaxBits.
  static int BitsFor(int64_t pixels) {
    int bits = kMinBits;
    while (bits < kMaxBits && int64_t(8) << bits < pixels) ++bits;
    return bits;
  }

  // The index of `rgb` (R * 65536 + G * 256 + B), from the cache or from
  // search(rgb), which must return 0..255.
  template <class TSearch>
  int Get(uint32_t rgb, const TSearch& search) {
    uint32_t& slot = slots_[SlotOf(rgb)];
    if (slot >> 8 != rgb) slot = rgb << 8 | uint32_t(search(rgb));
    return int(slot & 255);
  }

 private:
  uint32_t SlotOf(uint32_t rgb) const { return (rgb * 0x9E3779B1u) >> shift_; }

  int shift_;
  std::vector<uint32_t> slots_;
};

}  // namespace quillet
