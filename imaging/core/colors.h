// Typed colour records. Pixels and parameter colours are blue, green, red;
// DIB palettes are blue, green, red, reserved; store palettes are red, green, blue.
#pragma once

#include <cstdint>

namespace quillet {

struct TBGR {
  uint8_t b = 0, g = 0, r = 0;
  friend bool operator==(const TBGR&, const TBGR&) = default;
};

struct TRGBQuad {
  uint8_t b = 0, g = 0, r = 0, reserved = 0;
  friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};

struct TRGBEntry {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const TRGBEntry&, const TRGBEntry&) = default;
};

constexpr TBGR kBlack{0, 0, 0};
constexpr TBGR kWhite{255, 255, 255};

inline TBGR MakeBGR(uint8_t r, uint8_t g, uint8_t b) { return TBGR{b, g, r}; }

// The grey level used by all processing: (21 R + 71 G + 7 B) div 100.
inline int GreyLevel(const TBGR& c) { return (21 * c.r + 71 * c.g + 7 * c.b) / 100; }

}  // namespace quillet
