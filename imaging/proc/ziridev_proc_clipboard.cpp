// The processing component's clipboard operations: the image or its selection
// out as a device-independent bitmap block, and blocks pasted back in.
#include "imaging/proc/bitmap_area.h"
#include "imaging/proc/clipboard.h"
#include "imaging/proc/dib_block.h"
#include "imaging/proc/resample.h"
#include "imaging/proc/ziridev_proc.h"

namespace quillet {

void TZiridEvProc::CopyToClipboard() {
  if (const TIEWorkingBitmap* bitmap = link_.Bitmap()) SystemClipboard().SetDib(WriteDibBlock(*bitmap));
}

void TZiridEvProc::SelCopyToClipboard() {
  const TIEWorkingBitmap* bitmap = link_.Bitmap();
  if (!bitmap) return;
  const TIEMask* mask = Selection();
  if (!mask) return CopyToClipboard();
  // Pixels of the box outside the selection are not the image's: white.
  TIEWorkingBitmap box(mask->X2() - mask->X1() + 1, mask->Y2() - mask->Y1() + 1, bitmap->PixelFormat());
  box.Fill(kWhite);
  mask->CopyThroughMask(box, *bitmap, false, true);
  SystemClipboard().SetDib(WriteDibBlock(box));
}

// A block that cannot be read changes nothing and records no undo entry.
void TZiridEvProc::PasteFromClipboard() {
  TIEWorkingBitmap* bitmap = link_.Bitmap();
  if (!bitmap) return;
  TIEWorkingBitmap pasted;
  if (!ReadDibBlock(SystemClipboard().GetDib(), pasted)) return;
  RecordUndo("PastFromClipboard");
  bitmap->Replace(std::move(pasted));
  // Clipboard bitmaps are opaque: no transparency of the old image stays behind.
  if (TIEMask* alpha = link_.View() ? link_.View()->GetAlphaChannel() : nullptr; alpha && !alpha->Full())
    alpha->Fill(255);
  NotifyImageChanged();
}

// The pasted bitmap takes the image's format first (a 1-bit image keeps
// white where its grey level is at least 128), then the plain stretch.
void TZiridEvProc::SelPasteFromClipStretch() {
  TIEWorkingBitmap* bitmap = link_.Bitmap();
  if (!bitmap) return;
  const TIEMask* mask = Selection();
  if (!mask) return PasteFromClipboard();
  TIEWorkingBitmap pasted, stretched;
  if (!ReadDibBlock(SystemClipboard().GetDib(), pasted)) return;
  if (!pasted.SetPixelFormat(bitmap->PixelFormat())) return;
  const int64_t x1 = mask->X1(), y1 = mask->Y1();
  if (!StretchNearest(pasted, stretched, mask->X2() - x1 + 1, mask->Y2() - y1 + 1)) return;
  RecordUndo("SelPasteFromClipStretch");
  PasteArea(stretched, *bitmap, x1, y1);
  NotifyImageChanged();
}

}  // namespace quillet
