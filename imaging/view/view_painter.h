// TIEViewPainter: the image view's back buffer and its two painters, the
// fast nearest-neighbour one and the full one that honours the zoom filter.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/canvas_state.h"
#include "imaging/core/colors.h"
#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/view/back_buffer.h"
#include "imaging/view/background_style.h"
#include "imaging/view/view_geometry.h"
#include "imaging/view/view_rect.h"

namespace quillet {

// The view's display options the painters read.
struct TIEPaintOptions {
  TBGR Background;
  TIEBackgroundStyle BackgroundStyle = TIEBackgroundStyle::iebsSolid;
  int64_t ChessboardSize = 16;
  TIEBrushStyle ChessboardBrushStyle = TIEBrushStyle::bsSolid;
  bool DisplayGrid = false;
  bool EnableAlphaChannel = false;
};

// What is painted: the bitmap (1 or 24 bits), its 8-bit alpha channel, and
// the selection mask when a filled selection is shown (else null).
struct TIEViewImage {
  const TIEWorkingBitmap* Bitmap = nullptr;
  const TIEMask* AlphaChannel = nullptr;
  const TIEMask* FilledSelection = nullptr;
};

class TIEViewPainter {
 public:
  // Brings the back buffer to the client size and, when the geometry asks for
  // a repaint or the size changed, redraws all of it (fast painter with
  // rfNone, else the full painter) and clears the request. True when redrawn.
  // The widget then copies its clip rectangle from BackBuffer() 1:1.
  bool PaintRect(TIEViewGeometry& geometry, const TIEViewImage& image, const TIEPaintOptions& options);

  // Nearest-neighbour in 14-bit fixed point, touching only `clip`: the
  // background where the image does not cover it (or under a translucent
  // image), the image, the filled selection and the grid.
  void PaintFast(TIERawTarget& target, const TIERect& clip, const TIEViewGeometry& geometry,
                 const TIEViewImage& image, const TIEPaintOptions& options);

  // The whole target; through the zoom filter when it applies.
  void PaintTo(TIERawTarget& target, const TIEViewGeometry& geometry, const TIEViewImage& image,
               const TIEPaintOptions& options);

  // Only the shown part of the image, at (0, 0) with the display size, through
  // the zoom filter whenever one is set and the zoom is not 100 %.
  void DrawVisibleTo(TIERawTarget& target, const TIEViewGeometry& geometry, const TIEViewImage& image);

  const TIEBackBuffer& BackBuffer() const { return backBuffer_; }

 private:
  void DrawOverlays(TIERawTarget& target, const TIERect& clip, const TIEViewGeometry& geometry,
                    const TIEViewImage& image, const TIEPaintOptions& options, const TIEVisibleSource& source);

  TIEBackBuffer backBuffer_;
  std::vector<int64_t> gridColumns_;
};

}  // namespace quillet
