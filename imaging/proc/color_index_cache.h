// TIEColorIndexCache: an exact direct-mapped cache from 24-bit colours to
// palette indices, for lookups that search (the neural quantizer's).
#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

// 2^15 slots, each keeping the full colour beside its index, so a hit is
// always the answer the search would give. Not for sharing between threads.
class TIEColorIndexCache {
 public:
  static constexpr int kBits = 15;

  TIEColorIndexCache() : keys_(size_t(1) << kBits, kEmpty), indices_(size_t(1) << kBits, 0) {}

  // The index of `rgb` (R * 65536 + G * 256 + B), from the cache or from
  // search(rgb), which must return 0..255.
  template <class TSearch>
  int Get(uint32_t rgb, const TSearch& search) {
    const uint32_t slot = (rgb * 0x9E3779B1u) >> (32 - kBits);
    if (keys_[slot] != rgb) {
      indices_[slot] = uint8_t(search(rgb));
      keys_[slot] = rgb;
    }
    return indices_[slot];
  }

 private:
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;  // no 24-bit colour has this key
  std::vector<uint32_t> keys_;
  std::vector<uint8_t> indices_;
};

}  // namespace quillet
