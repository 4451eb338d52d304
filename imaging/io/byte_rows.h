// Rows between a file's layout and the bitmap's, for the codecs that store
// pixels as plain bytes: packed bits with 1 = black against the 1-bit image's
// 1 = white (the bits past the width left clear), the same both ways; R, G, B
// bytes against B, G, R, the same both ways; grey bytes spread to B, G, R,
// and B, G, R pixels to their grey levels (GreyLevel).
#pragma once

#include <cstdint>

namespace quillet {

// `src` and `dst` may be the same row.
void InvertBitRow(const uint8_t* src, uint8_t* dst, int64_t width);
void SwapRedBlueRow(const uint8_t* src, uint8_t* dst, int64_t width);

void GreyToBgrRow(const uint8_t* src, uint8_t* dst, int64_t width);
void BgrToGreyRow(const uint8_t* src, uint8_t* dst, int64_t width);

}  // namespace quillet
