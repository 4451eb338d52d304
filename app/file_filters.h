// The open and save dialogs' filters as the editor lists them, turned into
// Qt's filter syntax, and the maker's addresses.
#pragma once

#include <QString>

namespace quillet {

inline constexpr const char* kOpenFilter =
    "All graphics|*.tif;*.tiff;*.gif;*.jpg;*.jpeg;*.jpe;*.pcx;*.bmp;*.dib;*.rle;*.ico;*.cur;*.png;*.wmf;*.emf|"
    "TIFF Bitmap (TIF;TIFF)|*.tif;*.tiff|CompuServe Bitmap (GIF)|*.gif|JPEG Bitmap (JPG;JPEG;JPE)|*.jpg;*.jpeg;*.jpe|"
    "PaintBrush (PCX)|*.pcx|Windows Bitmap (BMP;DIB;RLE)|*.bmp;*.dib;*.rle|Windows Icon (ICO)|*.ico|"
    "Windows Cursor (CUR)|*.cur|Portable Network Graphics (PNG)|*.png|Windows Metafile (WMF)|*.wmf|"
    "Enhanced Windows Metafile (EMF)|*.emf";
inline constexpr const char* kSaveFilter =
    "All files|*.*|JPEG Bitmap (JPG)|*.jpg|CompuServe Bitmap (GIF)|*.gif|TIFF Bitmap (TIF)|*.tif|"
    "PaintBrush (PCX)|*.pcx|Portable Network Graphics (PNG)|*.png|Windows Bitmap (BMP)|*.bmp|OS/2 Bitmap (BMP)|*.bmp";

inline constexpr const char* kHomePage = "https://brenmor.example/quillet/";
inline constexpr const char* kSupportMail = "mailto:support@brenmor.example";

// "Name|*.a;*.b|..." becomes "Name (*.a *.b);;...". Patterns match any case.
QString QtFileFilter(const char* filter);

}  // namespace quillet
