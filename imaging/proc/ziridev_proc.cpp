#include "imaging/proc/ziridev_proc.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/proc/ordered_dither.h"
#include "imaging/proc/proc_progress.h"
#include "imaging/proc/quantizer.h"
#include "imaging/proc/resample.h"
#include "imaging/proc/rotate.h"

namespace quillet {

namespace {

bool Is1Or24(const TIEWorkingBitmap& b) {
  return b.PixelFormat() == TIEPixelFormat::pf1bit || b.PixelFormat() == TIEPixelFormat::pf24bit;
}

// Row pixels in reverse: 24-bit by pixel, 1-bit by bit.
void MirrorRow(uint8_t* row, int64_t width, TIEPixelFormat format) {
  if (format == TIEPixelFormat::pf24bit) {
    for (int64_t a = 0, b = width - 1; a < b; ++a, --b) std::swap_ranges(row + 3 * a, row + 3 * a + 3, row + 3 * b);
    return;
  }
  // Bytes and their bits reversed put pixel x at n*8-1-x; a shift by the
  // unused bits of the last byte brings it to width-1-x.
  const int64_t n = (width + 7) / 8, shift = n * 8 - width;
  std::reverse(row, row + n);
  for (int64_t i = 0; i < n; ++i) row[i] = ReverseBits8(row[i]);
  if (shift == 0) return;
  for (int64_t i = 0; i < n; ++i) row[i] = uint8_t(row[i] << shift | (i + 1 < n ? row[i + 1] >> (8 - shift) : 0));
}

void InvertRows(TIEWorkingBitmap& b) {
  const int64_t bytes = b.PixelFormat() == TIEPixelFormat::pf24bit ? b.Width() * 3 : (b.Width() + 7) / 8;
  for (int64_t y = 0; y < b.Height(); ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int64_t i = 0; i < bytes; ++i) row[i] = uint8_t(~row[i]);
  }
}

void GreyRows(TIEWorkingBitmap& b) {
  for (int64_t y = 0; y < b.Height(); ++y) {
    uint8_t* p = b.ScanLine(y);
    for (int64_t x = 0; x < b.Width(); ++x, p += 3) p[0] = p[1] = p[2] = uint8_t(GreyLevel(TBGR{p[0], p[1], p[2]}));
  }
}

}  // namespace

TZiridEvProc::TZiridEvProc() = default;
TZiridEvProc::~TZiridEvProc() { Detach(); }

// ---- attachment

void TZiridEvProc::Detach() {
  if (view_) view_->RemoveChangeListener(this);
  view_ = nullptr;
}

void TZiridEvProc::SetAttachedZiridEv(TIEView* view) {
  if (view == view_) return;
  Detach();
  view_ = view;
  bitmap_ = view ? view->GetBitmap() : nullptr;
  if (view) view->AddChangeListener([this](TIEView* v, int kind) { ViewChanged(v, kind); }, this);
}

void TZiridEvProc::ViewChanged(TIEView* view, int kind) {
  if (kind == TIEView::kChangeDestroyed) {
    view_ = nullptr;
    bitmap_ = nullptr;
    return;
  }
  bitmap_ = view->GetBitmap();
}

void TZiridEvProc::SetAttachedBitmap(TIEWorkingBitmap* bitmap) {
  if (!bitmap && view_) return;
  Detach();
  bitmap_ = bitmap;
}

TBGR TZiridEvProc::Background() const { return view_ ? view_->Background() : background_; }

void TZiridEvProc::SetBackground(TBGR color) {
  if (view_) view_->SetBackground(color);
  else background_ = color;
}

// ---- common steps

void TZiridEvProc::SaveUndo(const std::string& caption) {
  if (AutoUndo && OnSaveUndo) OnSaveUndo(this, caption);
}

void TZiridEvProc::Progress(int per) {
  if (OnProgress) OnProgress(this, per);
}

void TZiridEvProc::NotifyImageChanged() {
  bitmap_->MarkModified();
  if (view_) view_->ImageChange();
}

void TZiridEvProc::ApplyThroughMask(const std::function<void(TIEWorkingBitmap&)>& op) {
  TIEMask* mask = view_ ? view_->GetSelectionMask() : nullptr;
  if (!mask || mask->IsEmpty() || mask->Width() != bitmap_->Width() || mask->Height() != bitmap_->Height())
    return op(*bitmap_);
  // The box of the selection, processed whole, then put back where the mask is set.
  const int64_t x1 = mask->X1(), y1 = mask->Y1(), w = mask->X2() - x1 + 1, h = mask->Y2() - y1 + 1;
  TIEWorkingBitmap box(w, h, bitmap_->PixelFormat());
  for (int64_t y = 0; y < h; ++y) {
    const uint8_t* from = bitmap_->ScanLine(y1 + y);
    if (bitmap_->PixelFormat() == TIEPixelFormat::pf24bit) std::memcpy(box.ScanLine(y), from + 3 * x1, size_t(3 * w));
    else
      for (int64_t x = 0; x < w; ++x) SetBit(box.ScanLine(y), x, GetBit(from, x1 + x));
  }
  op(box);
  mask->CopyThroughMask(*bitmap_, box, true, false);
}

// ---- operations

void TZiridEvProc::Flip(TFlipDirection direction) {
  if (!bitmap_) return;
  SaveUndo("Flip");
  if (!Is1Or24(*bitmap_)) return;
  TIEWorkingBitmap& b = *bitmap_;
  const int64_t h = b.Height();
  if (direction == TFlipDirection::fdHorizontal) {
    for (int64_t y = 0; y < h; ++y) {
      MirrorRow(b.ScanLine(y), b.Width(), b.PixelFormat());
      Progress(int((y + 1) * 100 / (h + 0.5)));
    }
  } else {
    for (int64_t a = 0, c = h - 1; a < c; ++a, --c)
      std::swap_ranges(b.ScanLine(a), b.ScanLine(a) + b.RowBytes(), b.ScanLine(c));
  }
  NotifyImageChanged();
}

// "Rotate " and the angle in general notation, 15 significant digits, with
// the locale's decimal separator.
std::string RotateCaption(double angle) {
  char text[40];
  std::snprintf(text, sizeof text, "Rotate %.15g", angle);
  return text;
}

void TZiridEvProc::Rotate(double angle, bool antialias) {
  if (!bitmap_ || angle == 0) return;
  SaveUndo(RotateCaption(angle));
  const TIEProcProgress progress = [this](int per) { Progress(per); };
  if (RotateImage(*bitmap_, angle, antialias, Background(), progress)) NotifyImageChanged();
}

void TZiridEvProc::Resample(int32_t newWidth, int32_t newHeight, TResampleFilter filter) {
  if (!bitmap_) return;
  SaveUndo("Resample " + std::to_string(newWidth) + "," + std::to_string(newHeight));
  TIEWorkingBitmap& b = *bitmap_;
  if ((newWidth < 0 && newHeight < 0) || b.Empty() || !Is1Or24(b)) return;
  int64_t w = newWidth, h = newHeight;
  if (w < 0) w = b.Width() * h / b.Height();
  if (h < 0) h = w * b.Height() / b.Width();
  TIEWorkingBitmap result;
  const TIEProcProgress progress = [this](int per) { Progress(per); };
  const bool filtered = filter != TResampleFilter::rfNone && b.PixelFormat() == TIEPixelFormat::pf24bit &&
                        ResampleColour(b, result, w, h, filter, progress);
  // Too small a source for the filter is stretched plainly.
  if (!filtered && !StretchNearest(b, result, w, h)) return;
  b.Replace(std::move(result));
  ResampleAlpha(w, h);
  NotifyImageChanged();
}

// Transparency keeps its shape: a full plane stays full, any other one is
// resampled with the triangle kernel.
void TZiridEvProc::ResampleAlpha(int64_t width, int64_t height) {
  TIEMask* alpha = view_ ? view_->GetAlphaChannel() : nullptr;
  if (!alpha || alpha->Width() == 0 || alpha->BitsPerPixel() != 8) return;
  TIEMask resized;
  if (alpha->Full() || !ResampleMask(*alpha, resized, width, height, TResampleFilter::rfTriangle)) {
    resized.Allocate(width, height, 8);
    resized.Fill(255);
  }
  alpha->Assign(&resized);
}

void TZiridEvProc::ImageResize(int32_t newWidth, int32_t newHeight) {
  if (!bitmap_ || newWidth == 0 || newHeight == 0) return;
  SaveUndo("ImageResize " + std::to_string(newWidth) + "," + std::to_string(newHeight));
  bitmap_->Canvas().BrushColor = Background();
  if (newWidth < 0 || newHeight < 0 || !bitmap_->SetSize(newWidth, newHeight)) return;
  NotifyImageChanged();
}

void TZiridEvProc::Clear() {
  if (!bitmap_) return;
  SaveUndo("Clear");
  bitmap_->Fill(Background());
  NotifyImageChanged();
}

void TZiridEvProc::Negative() {
  if (!bitmap_) return;
  SaveUndo("Negative");
  if (!Is1Or24(*bitmap_)) return;
  ApplyThroughMask(InvertRows);
  NotifyImageChanged();
}

void TZiridEvProc::ConvertToGray() {
  if (!bitmap_) return;
  SaveUndo("ConvertToGray");
  if (bitmap_->PixelFormat() != TIEPixelFormat::pf24bit) return;
  ApplyThroughMask(GreyRows);
  NotifyImageChanged();
}

void TZiridEvProc::ConvertTo24Bit() {
  if (!bitmap_) return;
  SaveUndo("ConvertTo24Bit");
  if (bitmap_->PixelFormat() != TIEPixelFormat::pf1bit) return;
  // A set bit is white whatever the palette says.
  bitmap_->Palette() = BlackWhitePalette();
  bitmap_->SetPixelFormat(TIEPixelFormat::pf24bit);
  NotifyImageChanged();
}

void TZiridEvProc::ConvertTo(int colors) {
  std::vector<TBGR> palette(size_t(std::max(colors, 2)));
  ReduceColors(colors, palette, "ConvertTo " + std::to_string(colors));
}

void TZiridEvProc::ConvertToPalette(int colors, std::span<TBGR> palette) {
  ReduceColors(colors, palette, "ConvertToPalette");
}

void TZiridEvProc::ReduceColors(int colors, std::span<TBGR> palette, const std::string& caption) {
  if (!bitmap_) return;
  SaveUndo(caption);
  if (bitmap_->PixelFormat() != TIEPixelFormat::pf24bit || palette.size() < size_t(std::max(colors, 2))) return;
  if (colors <= 2) {
    DitherToBlackWhite(*bitmap_, *bitmap_);
    palette[0] = kBlack;
    palette[1] = kWhite;
    return NotifyImageChanged();
  }
  const TIEQuantizer quantizer(TIEQuantizerSource(*bitmap_), palette.first(size_t(colors)), colors);
  std::vector<uint8_t> indices(size_t(bitmap_->Width()));
  for (int64_t y = 0; y < bitmap_->Height(); ++y) {
    uint8_t* row = bitmap_->ScanLine(y);
    quantizer.MapRow(row, bitmap_->Width(), indices.data());
    for (int64_t x = 0; x < bitmap_->Width(); ++x) {
      const TBGR& c = palette[indices[size_t(x)]];
      row[3 * x] = c.b, row[3 * x + 1] = c.g, row[3 * x + 2] = c.r;
    }
    Progress(int((y + 1) * 100 / (bitmap_->Height() + 0.5)));
  }
  NotifyImageChanged();
}

}  // namespace quillet
