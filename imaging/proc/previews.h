// The effects preview dialog as the processing component sees it: the page
// set it is opened with, its options, and the port through which the
// component reaches the dialog, which the user interface installs at start-up.
#pragma once

#include <string>

#include "imaging/core/working_bitmap.h"

namespace quillet {

class TZiridEvProc;
// The dialog form, handed to OnPreview; defined by the user interface.
class TfPreviews;

// The pages shown, a set; ppAll shows every page.
enum TPreviewPage : int {
  ppAll = 1,
  ppContrast = 2,
  ppHSV = 4,
  ppHSL = 8,
  ppRGB = 16,
  ppUserFilter = 32,
  ppEqualize = 64,
  ppBumpMap = 128,
  ppLens = 256,
  ppWave = 512,
  ppMorph = 1024,
  ppRotate = 2048,
  ppFFT = 4096
};
using TPreviewPages = int;

// The dialog's options, a set.
enum TPRPreviewsParams : int { prppDefaultLockPreview = 1 };

// The dialog's font; an empty family keeps the application's font.
struct TPreviewFont {
  enum TStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
  std::string Family;
  int Size = 0;  // points; 0 keeps the application's size
  int Style = 0;
};

class TIEPreviewsPort {
 public:
  virtual ~TIEPreviewsPort() = default;
  // Shows the dialog over `area`, a copy of the pixels to process, for the
  // component's options and events. True when the user confirmed: `area` then
  // holds the processed pixels (maybe of another size).
  virtual bool Run(TZiridEvProc& proc, TPreviewPages pages, TIEWorkingBitmap& area) = 0;
};

// The installed dialog, or null.
TIEPreviewsPort* PreviewsPort();
// Installs `port` for the whole process (null removes it). The port must outlive its use.
void InstallPreviewsPort(TIEPreviewsPort* port);

}  // namespace quillet
