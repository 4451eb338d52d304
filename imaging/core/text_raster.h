// Text with FreeType: a line of UTF-8 in a font description, measured and
// turned into monochrome, hinted pixel runs (glyphs with kerning, and the
// underline), relative to the text cell's top-left corner, the baseline at
// the face's ascent. Faces and glyphs are cached by file, size and style.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "imaging/core/canvas_state.h"

namespace quillet {

struct TTextExtent {
  int64_t Width = 0;   // the advance of the whole text, kerning included
  int64_t Height = 0;  // ascent + descent of the face at the size, no line gap
  int64_t Ascent = 0;
};

// The pixel size: round(points x the start-up vertical dpi / 72), at least 1.
int FontPixelSize(const TIEFontDesc& font);

TTextExtent MeasureText(const TIEFontDesc& font, std::string_view utf8);

// Calls run(y, left, right) for every run [left, right) of text pixels on
// row y, relative to the cell. Runs of overlapping glyphs may overlap.
void RenderText(const TIEFontDesc& font, std::string_view utf8,
                const std::function<void(int64_t y, int64_t left, int64_t right)>& run);

}  // namespace quillet
