// TZiridEvProc: the processing component. It works in place on the image of
// an attached view (inside its selection where an operation allows) or on a
// bare bitmap: geometry and pixel-format operations.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/core/ie_bitmap.h"
#include "imaging/core/listener_list.h"
#include "imaging/core/view_link.h"
#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/proc/colour_histogram.h"
#include "imaging/proc/effect_fourier.h"
#include "imaging/proc/msg_words.h"
#include "imaging/proc/previews.h"
#include "imaging/proc/proc_rows.h"
#include "imaging/proc/resample_filter.h"

namespace quillet {

enum class TFlipDirection { fdHorizontal = 0, fdVertical = 1 };

// The undo caption of Rotate(angle).
std::string RotateCaption(double angle);

class TZiridEvProc {
 public:
  TZiridEvProc();
  virtual ~TZiridEvProc();
  TZiridEvProc(const TZiridEvProc&) = delete;
  TZiridEvProc& operator=(const TZiridEvProc&) = delete;

  // The view whose image and selection are processed; followed when it
  // replaces its image, let go of when it is destroyed. Null detaches.
  TIEView* AttachedZiridEv() const { return link_.View(); }
  void SetAttachedZiridEv(TIEView* view) { link_.AttachView(view); }
  // A bare bitmap detaches the view; none while a view is attached is ignored.
  TIEWorkingBitmap* AttachedBitmap() const { return link_.Bitmap(); }
  void SetAttachedBitmap(TIEWorkingBitmap* bitmap) { link_.AttachBitmap(bitmap); }

  // Callbacks told when the component is destroyed, so that whoever holds
  // it can let it go; the owner identifies the record for removal.
  void AddFreeListener(std::function<void(TZiridEvProc*)> callback, const void* owner) {
    freeListeners_.Add(std::move(callback), owner);
  }
  void RemoveFreeListener(const void* owner) { freeListeners_.Remove(owner); }

  // The attached view's background, else the component's own.
  TBGR Background() const { return link_.Background(); }
  void SetBackground(TBGR color) { link_.SetBackground(color); }

  // Whether each operation records an undo entry, captioned with its name
  // ("Flip", "Rotate 90", ...), before it changes anything.
  bool AutoUndo = true;
  // The most entries kept (below 1 counts as 1); a change applies at the next SaveUndo.
  int UndoLimit = 1;
  // Where new undo images are stored.
  TIEBitmapLocation UndoLocation = TIEBitmapLocation::ieFile;
  std::function<void(TZiridEvProc* sender, int per)> OnProgress;
  // Set (from OnProgress, say) to stop the running operation at its next row;
  // the operations that poll it clear it when they start.
  bool Aborting = false;

  // ---- the effects preview dialog (see previews.h).
  // The dialog on the image, or on the selection's box, with these pages;
  // true when the user pressed OK and the image took the result (undo caption
  // "Previews"). False, showing nothing, without an installed dialog, without
  // an image, for an image that is not 24-bit, or one below 2 pixels both ways.
  bool ShowPreviews(TPreviewPages pages);
  // Called with the prepared dialog before it is shown.
  std::function<void(TZiridEvProc* sender, TfPreviews* form)> OnPreview;
  // A set of TPRPreviewsParams.
  int PreviewsParams = 0;
  TPreviewFont PreviewFont;
  // The language of the dialog's words.
  TMsgLanguage MsgLanguage = TMsgLanguage::msSystem;

  // ---- undo: whole-image copies, oldest first; undoing keeps the entry.
  // The image as the newest entry, uncaptioned; nothing for an empty image.
  virtual void SaveUndo();
  // The newest entry back into the image.
  virtual void Undo();
  // The entry `index` steps back from the newest; an index out of range does nothing.
  virtual void UndoAt(int index);
  // SaveUndo, then the caption on the entry it appended (dropped when none was).
  void SaveUndoCaptioned(const std::string& caption);
  void ClearUndo();
  int UndoCount() const { return int(undo_.size()); }
  // Caption of the entry `index` steps back from the newest.
  const std::string& UndoCaption(int index) const;

  // ---- clipboard, as device-independent bitmap blocks (see clipboard.h).
  void CopyToClipboard();
  // The selection's bounding box with unselected pixels white; without a
  // selection the whole image.
  void SelCopyToClipboard();
  // The clipboard's bitmap becomes the whole image; undo caption "PastFromClipboard".
  void PasteFromClipboard();
  // The clipboard's bitmap stretched over the selection's bounding box, the
  // mask not limiting it; undo caption "SelPasteFromClipStretch". Without a
  // selection, PasteFromClipboard.
  void SelPasteFromClipStretch();

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
  // To n colours (1 to 256) through the quantizer for every n, the image
  // staying 24-bit; undo caption "Quantize n".
  void Quantize(int colors);

  // ---- colour (ziridev_proc_colour.cpp), 24-bit images only.
  // Automatic equalization of the image, or of the selection; undo caption
  // "HistAutoEqualize". An aborted run changes nothing.
  void HistAutoEqualize();
  // Counts of the selection's box, or of the whole image.
  void GetHistogram(TIEHistogram& histogram);
  // The channels into three grey images of the image's size (not the image itself).
  void SplitRGB(TIEWorkingBitmap& red, TIEWorkingBitmap& green, TIEWorkingBitmap& blue);
  void SplitHSV(TIEWorkingBitmap& hue, TIEWorkingBitmap& saturation, TIEWorkingBitmap& value);
  // The preview dialog's OK pass: `adjust` runs on the whole image, or on
  // the selection's box merged back through the mask, with this component's
  // progress and abort flag; undo caption "Previews". False when aborted.
  using TAdjustment = std::function<void(TIEWorkingBitmap& image, const TIEProcWatch& watch)>;
  bool ApplyAdjustment(const TAdjustment& adjust);

  // ---- effects on 24-bit images, each captioned with its name, on the whole
  // image or on the selection's box merged back through the mask; positions
  // are in pixels of that image or box. Aborting stops them with nothing changed.
  void ApplyUserFilter(const std::array<int32_t, 9>& coefficients, int32_t divisor);
  void ApplyBumpMap(int32_t x, int32_t y, int32_t width, int32_t height, TBGR light, int32_t quantity);
  void ApplyLens(int32_t x, int32_t y, int32_t width, int32_t height, double refraction);
  void ApplyWave(int32_t amplitude, int32_t waveLength, int32_t phase, bool reflective);
  // Filter 0 maximum, 1 minimum, 2 opening, 3 closing.
  void ApplyMorph(int32_t filter, int32_t window);
  // Through the Fourier transform (of the grey levels, or of each channel)
  // with the inclusive rectangles of the spectrum image cleared, and back.
  // False, with nothing done, when the padded plane would be over
  // TIEFtImage::kMaxSide a side.
  bool FftClear(const std::vector<std::array<int64_t, 4>>& zones, bool gray);
  // The whole image becomes its spectrum (TIEFtImage::GetFFTImage); false as for FftClear.
  bool FftSpectrum(bool gray);

 private:
  struct TUndoEntry {
    std::unique_ptr<TIEBitmap> Image;
    std::string Caption;
  };

  // Records the undo entry when AutoUndo is on.
  void RecordUndo(const std::string& caption);
  // The selection mask when the attached view has a selection that fits the image.
  TIEMask* Selection() const;
  void Progress(int per);
  void NotifyImageChanged();
  // Runs `op` on the whole image, or on the selection's box through the mask;
  // a box whose operation was aborted is dropped. Returns false when aborted.
  bool ApplyThroughMask(const std::function<void(TIEWorkingBitmap&)>& op);
  void ReduceColors(int colors, std::span<TBGR> palette, const std::string& caption);
  // Every pixel becomes the entry a quantizer built over the image gives it.
  void MapThroughQuantizer(int colors, std::span<TBGR> palette);
  // The alpha channel follows a resampled image.
  void ResampleAlpha(int64_t width, int64_t height);
  // OnProgress and Aborting for an area function, the flag cleared.
  TIEProcWatch Watch();
  // `adjust` through ApplyThroughMask after the undo entry, for a 24-bit image.
  bool Adjust(const std::string& caption, const TAdjustment& adjust);

  // Whether the image worked on (the selection's box or the whole image) pads
  // to a plane the frequency-domain image takes; true with no image.
  bool FftFits() const;

  TIEViewLink link_;
  TIEListenerList<TZiridEvProc*> freeListeners_;
  std::deque<TUndoEntry> undo_;
  uint64_t undoAppends_ = 0;  // tells SaveUndoCaptioned whether an entry came
};

}  // namespace quillet
