#include "imaging/proc/ziridev_proc.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/proc/bitmap_area.h"
#include "imaging/proc/flip.h"
#include "imaging/proc/ordered_dither.h"
#include "imaging/proc/point_ops.h"
#include "imaging/proc/proc_progress.h"
#include "imaging/proc/quantizer.h"
#include "imaging/proc/resample.h"
#include "imaging/proc/rotate.h"

namespace quillet {

namespace {

bool Is1Or24(const TIEWorkingBitmap& b) {
  return b.PixelFormat() == TIEPixelFormat::pf1bit || b.PixelFormat() == TIEPixelFormat::pf24bit;
}

}  // namespace

TZiridEvProc::TZiridEvProc() = default;
TZiridEvProc::~TZiridEvProc() { freeListeners_.CallLast(this); }

// ---- common steps

void TZiridEvProc::RecordUndo(const std::string& caption) {
  if (AutoUndo) SaveUndoCaptioned(caption);
}

void TZiridEvProc::Progress(int per) {
  if (OnProgress) OnProgress(this, per);
}

void TZiridEvProc::NotifyImageChanged() {
  link_.Bitmap()->MarkModified();
  if (link_.View()) link_.View()->ImageChange();
}

TIEMask* TZiridEvProc::Selection() const {
  TIEMask* mask = link_.View() ? link_.View()->GetSelectionMask() : nullptr;
  const TIEWorkingBitmap* b = link_.Bitmap();
  if (!mask || !b || mask->IsEmpty() || mask->Width() != b->Width() || mask->Height() != b->Height()) return nullptr;
  return mask;
}

bool TZiridEvProc::ApplyThroughMask(const std::function<void(TIEWorkingBitmap&)>& op) {
  TIEMask* mask = Selection();
  if (!mask) {
    op(*link_.Bitmap());
    return !Aborting;
  }
  // The box of the selection, processed whole, then put back where the mask is set.
  TIEWorkingBitmap box =
      CopyArea(*link_.Bitmap(), mask->X1(), mask->Y1(), mask->X2() - mask->X1() + 1, mask->Y2() - mask->Y1() + 1);
  op(box);
  if (Aborting) return false;
  mask->CopyThroughMask(*link_.Bitmap(), box, true, false);
  return true;
}

// ---- operations

void TZiridEvProc::Flip(TFlipDirection direction) {
  if (!link_.Bitmap()) return;
  RecordUndo("Flip");
  if (!Is1Or24(*link_.Bitmap())) return;
  TIEWorkingBitmap& b = *link_.Bitmap();
  const int64_t h = b.Height();
  if (direction == TFlipDirection::fdHorizontal)
    MirrorImage(b, [&](int64_t rows) { Progress(int(rows * 100 / (h + 0.5))); });
  else
    FlipImageVertically(b);
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
  if (!link_.Bitmap() || angle == 0) return;
  RecordUndo(RotateCaption(angle));
  const TIEProcProgress progress = [this](int per) { Progress(per); };
  if (RotateImage(*link_.Bitmap(), angle, antialias, Background(), progress)) NotifyImageChanged();
}

void TZiridEvProc::Resample(int32_t newWidth, int32_t newHeight, TResampleFilter filter) {
  if (!link_.Bitmap()) return;
  RecordUndo("Resample " + std::to_string(newWidth) + "," + std::to_string(newHeight));
  TIEWorkingBitmap& b = *link_.Bitmap();
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
  TIEMask* alpha = link_.View() ? link_.View()->GetAlphaChannel() : nullptr;
  if (!alpha || alpha->Width() == 0 || alpha->BitsPerPixel() != 8) return;
  TIEMask resized;
  if (alpha->Full() || !ResampleMask(*alpha, resized, width, height, TResampleFilter::rfTriangle)) {
    resized.Allocate(width, height, 8);
    resized.Fill(255);
  }
  alpha->Assign(&resized);
}

void TZiridEvProc::ImageResize(int32_t newWidth, int32_t newHeight) {
  if (!link_.Bitmap() || newWidth == 0 || newHeight == 0) return;
  RecordUndo("ImageResize " + std::to_string(newWidth) + "," + std::to_string(newHeight));
  link_.Bitmap()->Canvas().BrushColor = Background();
  if (newWidth < 0 || newHeight < 0 || !link_.Bitmap()->SetSize(newWidth, newHeight)) return;
  NotifyImageChanged();
}

void TZiridEvProc::Clear() {
  if (!link_.Bitmap()) return;
  RecordUndo("Clear");
  link_.Bitmap()->Fill(Background());
  NotifyImageChanged();
}

void TZiridEvProc::Negative() {
  if (!link_.Bitmap()) return;
  RecordUndo("Negative");
  if (!Is1Or24(*link_.Bitmap())) return;
  ApplyThroughMask(InvertImage);
  NotifyImageChanged();
}

void TZiridEvProc::ConvertToGray() {
  if (!link_.Bitmap()) return;
  RecordUndo("ConvertToGray");
  if (link_.Bitmap()->PixelFormat() != TIEPixelFormat::pf24bit) return;
  ApplyThroughMask(GreyImage);
  NotifyImageChanged();
}

void TZiridEvProc::ConvertTo24Bit() {
  if (!link_.Bitmap()) return;
  RecordUndo("ConvertTo24Bit");
  if (link_.Bitmap()->PixelFormat() != TIEPixelFormat::pf1bit) return;
  // A set bit is white whatever the palette says.
  link_.Bitmap()->Palette() = BlackWhitePalette();
  link_.Bitmap()->SetPixelFormat(TIEPixelFormat::pf24bit);
  NotifyImageChanged();
}

void TZiridEvProc::ConvertTo(int colors) {
  std::vector<TBGR> palette(size_t(std::max(colors, 2)));
  ReduceColors(colors, palette, "ConvertTo " + std::to_string(colors));
}

void TZiridEvProc::ConvertToPalette(int colors, std::span<TBGR> palette) {
  ReduceColors(colors, palette, "ConvertToPalette");
}

void TZiridEvProc::Quantize(int colors) {
  if (!link_.Bitmap()) return;
  RecordUndo("Quantize " + std::to_string(colors));
  if (link_.Bitmap()->PixelFormat() != TIEPixelFormat::pf24bit) return;
  std::vector<TBGR> palette(size_t(std::clamp(colors, 1, 256)));
  MapThroughQuantizer(colors, palette);
  NotifyImageChanged();
}

void TZiridEvProc::ReduceColors(int colors, std::span<TBGR> palette, const std::string& caption) {
  if (!link_.Bitmap()) return;
  RecordUndo(caption);
  if (link_.Bitmap()->PixelFormat() != TIEPixelFormat::pf24bit || palette.size() < size_t(std::max(colors, 2))) return;
  if (colors <= 2) {
    DitherToBlackWhite(*link_.Bitmap(), *link_.Bitmap());
    palette[0] = kBlack;
    palette[1] = kWhite;
    return NotifyImageChanged();
  }
  MapThroughQuantizer(colors, palette.first(size_t(colors)));
  NotifyImageChanged();
}

void TZiridEvProc::MapThroughQuantizer(int colors, std::span<TBGR> palette) {
  TIEWorkingBitmap& image = *link_.Bitmap();
  const TIEQuantizer quantizer(TIEQuantizerSource(image), palette, colors);
  std::vector<uint8_t> indices(size_t(image.Width()));
  for (int64_t y = 0; y < image.Height(); ++y) {
    uint8_t* row = image.ScanLine(y);
    quantizer.MapRow(row, image.Width(), indices.data());
    for (int64_t x = 0; x < image.Width(); ++x) {
      const TBGR& c = palette[indices[size_t(x)]];
      row[3 * x] = c.b, row[3 * x + 1] = c.g, row[3 * x + 2] = c.r;
    }
    Progress(int((y + 1) * 100 / (image.Height() + 0.5)));
  }
}

}  // namespace quillet
