// Blending 24-bit rows through an 8-bit alpha row: every channel byte d
// becomes d + ((s - d) * a >> 8), the shift rounding toward minus infinity.
#pragma once

#include <cstdint>

namespace quillet {

// One channel as the row blend computes it.
inline uint8_t BlendChannel(int d, int s, int a) { return uint8_t(d + (((s - d) * a) >> 8)); }

// `pixels` pixels of dst moved toward src by alpha[i] / 256, pixel i taking
// alpha[i]. The rows may not overlap.
void BlendRow24(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, int64_t pixels);

}  // namespace quillet
