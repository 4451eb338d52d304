// TColourCache: per-pixel colour results that are a pure function of a key
// (the colour, or its 0..99 HSV levels), computed the first time a key is
// met. A photograph has far fewer distinct keys than pixels. The table is
// allocated zeroed by the system, so that only the pages of keys met are
// ever touched; threads sharing it may compute one entry twice, always to
// the same value.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "imaging/core/colors.h"
#include "imaging/proc/colour_spaces.h"

namespace quillet {

class TColourCache {
 public:
  explicit TColourCache(size_t keys)
      : entries_(static_cast<uint32_t*>(std::calloc(keys, sizeof(uint32_t))), &std::free) {
    if (!entries_) throw std::bad_alloc();
  }

  // The result for `key`, from compute() (a TBGR) the first time.
  template <class Compute>
  TBGR Get(size_t key, Compute compute) const {
    std::atomic_ref<uint32_t> entry(entries_.get()[key]);
    uint32_t v = entry.load(std::memory_order_relaxed);
    if (!v) {
      const TBGR c = compute();
      v = kFilled | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
      entry.store(v, std::memory_order_relaxed);
    }
    return TBGR{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)};
  }

  // The key of a whole colour.
  static size_t ColourKey(const uint8_t* bgr) { return size_t(bgr[2]) << 16 | size_t(bgr[1]) << 8 | bgr[0]; }
  static constexpr size_t kColours = size_t(1) << 24;

 private:
  static constexpr uint32_t kFilled = 1u << 24;
  std::unique_ptr<uint32_t, decltype(&std::free)> entries_;
};

// Areas of fewer pixels are faster without a cache.
constexpr int64_t kColourCachePixels = int64_t(1) << 18;

// The key of the 0..99 HSV levels of a pixel (blue, green, red), on which
// everything computed from its integer HSV depends.
class THSVLevelKey {
 public:
  static constexpr size_t kKeys = 100 * 100 * 100;
  THSVLevelKey() {
    for (int k = 0; k < 256; ++k) levels_[size_t(k)] = uint8_t(ChannelTo99(uint8_t(k)));
  }
  size_t operator()(const uint8_t* bgr) const {
    return (size_t(levels_[bgr[2]]) * 100 + levels_[bgr[1]]) * 100 + levels_[bgr[0]];
  }

 private:
  std::array<uint8_t, 256> levels_;
};

}  // namespace quillet
