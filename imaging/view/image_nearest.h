// The hot loop of the view: nearest-neighbour painting of a 1-bit or 24-bit
// bitmap rectangle into client rows, in 14-bit fixed point, with optional alpha.
#pragma once

#include <cstdint>

#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/view/view_rect.h"

namespace quillet {

// A source rectangle of a bitmap and the client rectangle it fills.
struct TIEImagePlacement {
  TIERect Dest;
  int64_t SourceLeft = 0, SourceTop = 0, SourceWidth = 0, SourceHeight = 0;
};

// Paints the part of p.Dest inside clip. Client row i takes source row
// SourceTop + (step * (i - Dest.Top)) >> 14 with step = SourceHeight * 16384 /
// Dest height, columns likewise. With alpha (8-bit, the bitmap's size) each
// channel moves toward the source by a / 256. reuseRows copies the previous
// client row when the source row repeats: only valid when the background
// under both rows is the same. With `underlay`, each painted row is first
// filled with that colour, the background the image blends over. Nothing
// for other formats or a source rectangle outside the bitmap, and then false.
bool DrawImageNearest(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                      const TIEWorkingBitmap& bitmap, const TIEMask* alpha, bool reuseRows,
                      const TBGR* underlay = nullptr);

}  // namespace quillet
