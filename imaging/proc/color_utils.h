// Colour utilities around the quantizer: two-colour detection, the nearest
// palette entry, and the exchange of red and blue in a palette.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "imaging/core/colors.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

// When the 24-bit image has exactly two distinct colours: a new 1-bit image
// of its size (bit 1 where the pixel has colours[1]) and the two colours, the
// darker by grey level as colours[0]. Otherwise nothing, colours untouched.
std::unique_ptr<TIEWorkingBitmap> ExtractTwoColours(const TIEWorkingBitmap& image, std::array<TBGR, 2>& colors);

// The first entry with the smallest |dR| + |dG| + |dB| to `rgb`
// (R * 65536 + G * 256 + B); 0 for an empty palette.
int NearestPaletteIndex(std::span<const TBGR> palette, uint32_t rgb);

// Blue, green, red entries to red, green, blue and back.
void SwapPaletteRB(std::span<TBGR> palette);

}  // namespace quillet
