// The view's painters: background, image, filled selection and grid into
// the back buffer, costing the visible area only.
#include "imaging/view/view_painter.h"

#include <algorithm>

#include "imaging/view/image_nearest.h"
#include "imaging/view/pixel_rows.h"
#include "imaging/view/view_grid.h"
#include "imaging/view/zoom_filter.h"

namespace quillet {

namespace {

bool SameSize(const TIEMask& mask, const TIEWorkingBitmap& bitmap) {
  return mask.Width() == bitmap.Width() && mask.Height() == bitmap.Height();
}

// Whether there is an image to show: a 1- or 24-bit bitmap the geometry was
// updated for, with something visible.
bool Showable(const TIEViewGeometry& g, const TIEViewImage& image, const TIEVisibleSource& s) {
  const TIEWorkingBitmap* b = image.Bitmap;
  if (!b || b->Empty() || b->Width() != g.ImageWidth() || b->Height() != g.ImageHeight()) return false;
  if (b->PixelFormat() != TIEPixelFormat::pf1bit && b->PixelFormat() != TIEPixelFormat::pf24bit) return false;
  return s.SourceWidth > 0 && s.SourceHeight > 0 && s.DestWidth > 0 && s.DestHeight > 0;
}

// The alpha plane when it changes anything. A plane of another size than the
// bitmap (until the view follows a resize) is not used.
const TIEMask* BlendingAlpha(const TIEViewImage& image, const TIEPaintOptions& options) {
  const TIEMask* a = image.AlphaChannel;
  if (!options.EnableAlphaChannel || !a || a->Full() || a->BitsPerPixel() != 8) return nullptr;
  return SameSize(*a, *image.Bitmap) ? a : nullptr;
}

TIEImagePlacement Placement(const TIEViewGeometry& g, const TIEVisibleSource& s) {
  const TIERect dest{g.OffsetX(), g.OffsetY(), g.OffsetX() + s.DestWidth, g.OffsetY() + s.DestHeight};
  return {dest, s.SourceLeft, s.SourceTop, s.SourceWidth, s.SourceHeight};
}

// The background on the parts of clip outside hole: the bands above and
// below it and the pieces left and right of it.
void PaintBackgroundAround(TIERawTarget& target, const TIERect& clip, const TIERect& hole,
                           const TIEBackgroundParams& params) {
  const TIERect h = Intersect(hole, clip);
  if (h.Empty()) return PaintBackground(target, clip, params);
  const TIERect parts[] = {{clip.Left, clip.Top, clip.Right, h.Top},
                           {clip.Left, h.Bottom, clip.Right, clip.Bottom},
                           {clip.Left, h.Top, h.Left, h.Bottom},
                           {h.Right, h.Top, clip.Right, h.Bottom}};
  for (const TIERect& part : parts)
    if (!part.Empty()) PaintBackground(target, part, params);
}

// An opaque image, or a translucent one over a solid colour that the
// painter lays under each row itself, covers its rectangle: the background
// goes only around it, and under it only when the image cannot be painted.
void DrawCovering(TIERawTarget& target, const TIERect& area, const TIEImagePlacement& p,
                  const TIEWorkingBitmap& bitmap, const TIEMask* alpha, const TIEBackgroundParams& background) {
  PaintBackgroundAround(target, area, p.Dest, background);
  if (!DrawImageNearest(target, area, p, bitmap, alpha, true, alpha ? &background.Color : nullptr))
    PaintBackground(target, Intersect(area, p.Dest), background);
}

// A translucent image over a patterned background blends over it, both
// painted a band of rows at a time so that the image blends over background
// rows still in cache.
void DrawTranslucent(TIERawTarget& target, const TIERect& area, const TIEImagePlacement& p,
                     const TIEWorkingBitmap& bitmap, const TIEMask& alpha, const TIEBackgroundParams& background) {
  constexpr int64_t kBandRows = 16;
  for (int64_t top = area.Top; top < area.Bottom; top += kBandRows) {
    const TIERect band{area.Left, top, area.Right, std::min(top + kBandRows, area.Bottom)};
    PaintBackground(target, band, background);
    DrawImageNearest(target, band, p, bitmap, &alpha, false);
  }
}

TIEBackgroundParams BackgroundOf(const TIEViewGeometry& g, const TIEPaintOptions& o) {
  const TIERect image{g.OffsetX(), g.OffsetY(), g.OffsetX() + g.DisplayWidth(), g.OffsetY() + g.DisplayHeight()};
  return {o.BackgroundStyle, o.Background, o.ChessboardSize, o.ChessboardBrushStyle, image};
}

}  // namespace

bool TIEViewPainter::PaintRect(TIEViewGeometry& geometry, const TIEViewImage& image,
                               const TIEPaintOptions& options) {
  if (backBuffer_.SetSize(geometry.ViewWidth(), geometry.ViewHeight())) geometry.SetNeedRepaint();
  if (!geometry.NeedRepaint()) return false;
  TIERawTarget target = backBuffer_.Target();
  if (geometry.ZoomFilter() == TResampleFilter::rfNone)
    PaintFast(target, Bounds(target), geometry, image, options);
  else
    PaintTo(target, geometry, image, options);
  geometry.ClearNeedRepaint();
  return true;
}

void TIEViewPainter::PaintFast(TIERawTarget& target, const TIERect& clip, const TIEViewGeometry& geometry,
                               const TIEViewImage& image, const TIEPaintOptions& options) {
  const TIERect area = Intersect(clip, Bounds(target));
  if (area.Empty() || !target.Bits) return;
  const TIEVisibleSource source = geometry.VisibleSource();
  const TIEBackgroundParams background = BackgroundOf(geometry, options);
  if (!Showable(geometry, image, source)) return PaintBackground(target, area, background);
  const TIEImagePlacement placement = Placement(geometry, source);
  const TIEMask* alpha = BlendingAlpha(image, options);
  if (alpha && background.Style != TIEBackgroundStyle::iebsSolid)
    DrawTranslucent(target, area, placement, *image.Bitmap, *alpha, background);
  else
    DrawCovering(target, area, placement, *image.Bitmap, alpha, background);
  DrawOverlays(target, area, geometry, image, options, source);
}

void TIEViewPainter::PaintTo(TIERawTarget& target, const TIEViewGeometry& geometry, const TIEViewImage& image,
                             const TIEPaintOptions& options) {
  const TIERect all = Bounds(target);
  const TIEVisibleSource source = geometry.VisibleSource();
  if (!Showable(geometry, image, source) || !ZoomFilterApplies(geometry, *image.Bitmap, source, true)) {
    PaintFast(target, all, geometry, image, options);
    return;
  }
  PaintBackground(target, all, BackgroundOf(geometry, options));
  PaintFiltered(target, all, Placement(geometry, source), *image.Bitmap, BlendingAlpha(image, options),
                geometry.ZoomFilter());
  DrawOverlays(target, all, geometry, image, options, source);
}

void TIEViewPainter::DrawVisibleTo(TIERawTarget& target, const TIEViewGeometry& geometry,
                                   const TIEViewImage& image) {
  const TIEVisibleSource source = geometry.VisibleSource();
  if (!target.Bits || !Showable(geometry, image, source)) return;
  const TIEImagePlacement p{{0, 0, geometry.DisplayWidth(), geometry.DisplayHeight()}, source.SourceLeft,
                            source.SourceTop, source.SourceWidth, source.SourceHeight};
  if (ZoomFilterApplies(geometry, *image.Bitmap, source, false))
    PaintFiltered(target, Bounds(target), p, *image.Bitmap, nullptr, geometry.ZoomFilter());
  else
    DrawImageNearest(target, Bounds(target), p, *image.Bitmap, nullptr, true);
}

void TIEViewPainter::DrawOverlays(TIERawTarget& target, const TIERect& clip, const TIEViewGeometry& geometry,
                                  const TIEViewImage& image, const TIEPaintOptions& options,
                                  const TIEVisibleSource& source) {
  const TIEMask* selection = image.FilledSelection;
  if (selection && selection->BitsPerPixel() == 1 && SameSize(*selection, *image.Bitmap)) {
    // The mask draws over its whole target: give it only the clip, so that
    // pixels outside it are not inverted a second time.
    TIERawTarget part{PixelAt(target, clip.Left, clip.Top), clip.Width(), clip.Height(), target.RowBytes};
    const TIEMaskViewport view{geometry.Zoom(), geometry.OffsetX() - clip.Left, geometry.OffsetY() - clip.Top,
                               source.SourceLeft, source.SourceTop};
    selection->DrawInverted(part, view);
  }
  if (options.DisplayGrid && geometry.Zoom() >= kGridMinZoom)
    DrawGrid(target, clip, Placement(geometry, source).Dest, geometry, source, gridColumns_);
}

}  // namespace quillet
