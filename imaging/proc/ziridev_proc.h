// TZiridEvProc: the processing component. It works in place on the image of
// an attached view (inside its selection where an operation allows) or on a
// bare bitmap: geometry and pixel-format operations.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "imaging/core/colors.h"
#include "imaging/core/view_link.h"
#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/proc/resample_filter.h"

namespace quillet {

enum class TFlipDirection { fdHorizontal = 0, fdVertical = 1 };

// The undo caption of Rotate(angle).
std::string RotateCaption(double angle);

class TZiridEvProc {
 public:
  TZiridEvProc();
  ~TZiridEvProc();
  TZiridEvProc(const TZiridEvProc&) = delete;
  TZiridEvProc& operator=(const TZiridEvProc&) = delete;

  // The view whose image and selection are processed; followed when it
  // replaces its image, let go of when it is destroyed. Null detaches.
  TIEView* AttachedZiridEv() const { return link_.View(); }
  void SetAttachedZiridEv(TIEView* view) { link_.AttachView(view); }
  // A bare bitmap detaches the view; none while a view is attached is ignored.
  TIEWorkingBitmap* AttachedBitmap() const { return link_.Bitmap(); }
  void SetAttachedBitmap(TIEWorkingBitmap* bitmap) { link_.AttachBitmap(bitmap); }

  // The attached view's background, else the component's own.
  TBGR Background() const { return link_.Background(); }
  void SetBackground(TBGR color) { link_.SetBackground(color); }

  bool AutoUndo = true;
  int UndoLimit = 1;
  std::function<void(TZiridEvProc* sender, int per)> OnProgress;
  // Where each operation records its undo entry before it changes anything,
  // with the operation's caption ("Flip", "Rotate 90", ...).
  std::function<void(TZiridEvProc* sender, const std::string& caption)> OnSaveUndo;

  void Flip(TFlipDirection direction);
  void Rotate(double angle, bool antialias);
  // -1 for one side keeps the aspect.
  void Resample(int32_t newWidth, int32_t newHeight, TResampleFilter filter);
  // The canvas: the top-left area is kept, new area takes the background.
  void ImageResize(int32_t newWidth, int32_t newHeight);
  void Clear();
  void Negative();
  void ConvertToGray();
  void ConvertTo24Bit();
  // To n colours through the quantizer (24-bit stays 24-bit), or for n <= 2
  // to black and white through the ordered dither (the image becomes 1-bit).
  void ConvertTo(int colors);
  // ConvertTo that also returns the palette (at least max(colors, 2) entries).
  void ConvertToPalette(int colors, std::span<TBGR> palette);

 private:
  // Records the undo entry when AutoUndo is on.
  void SaveUndo(const std::string& caption);
  void Progress(int per);
  void NotifyImageChanged();
  // Runs `op` on the whole image, or on the selection's box through the mask.
  void ApplyThroughMask(const std::function<void(TIEWorkingBitmap&)>& op);
  void ReduceColors(int colors, std::span<TBGR> palette, const std::string& caption);
  // The alpha channel follows a resampled image.
  void ResampleAlpha(int64_t width, int64_t height);

  TIEViewLink link_;
};

}  // namespace quillet
