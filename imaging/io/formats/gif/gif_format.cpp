// The GIF format: table row, content test and description. Its codec is not
// built yet, so reads and writes fail cleanly.
#include "imaging/io/format_detect.h"
#include "imaging/io/format_table.h"

namespace quillet {

namespace {

bool HasSignature(TIEStream& s) { return StreamStartsWith(s, "GIF", 3, 13); }

constexpr TIOContentTest kTests[] = {{40, HasSignature}};

constexpr const char* kFields[] = {"GifVersion",      "GifImageIndex",   "GifXPos",          "GifYPos",
                                   "GifDelayTime",    "GifTransparent",  "GifTransparentColor", "GifInterlaced",
                                   "GifScreenWidth",  "GifScreenHeight", "GifBackground",    "GifAspectRatio",
                                   "GifLzwDecoder",   "GifLzwEncoder",   "GifImageCount",    "ColorMap"};

std::string Detail(const TIOParamsVals& p) { return p.GifInterlaced ? " Interlaced" : ""; }

// The transparent colour, when there is one, else the logical screen's.
bool ReadBackground(const TIOParamsVals& p, TBGR& background) {
  background = p.GifTransparent ? p.GifTransparentColor : p.GifBackground;
  return true;
}

}  // namespace

extern const TFileFormatInfo GIFFormat{
    .TypeCode = ftGIF,
    .Name = "CompuServe Bitmap",
    .Extensions = "GIF",
    .Tests = kTests,
    .FillsAlpha = true,
    .ImageIndex = &TIOParamsVals::GifImageIndex,
    .Fields = kFields,
    .Detail = Detail,
    .StreamReadSetsDpi = false,
    .ReadBackground = ReadBackground,
};

}  // namespace quillet
