// The GIF format: table row, content test, codec, image count and description.
#include "imaging/io/format_detect.h"
#include "imaging/io/format_table.h"
#include "imaging/io/formats/gif/gif_blocks.h"
#include "imaging/io/formats/gif/gif_codec.h"
#include "imaging/io/ziridev_io.h"

namespace quillet {

namespace {

bool HasSignature(TIEStream& s) { return StreamStartsWith(s, "GIF", 3, 13); }

constexpr TIOContentTest kTests[] = {{40, HasSignature}};

constexpr const char* kFields[] = {"GifVersion",      "GifImageIndex",   "GifXPos",          "GifYPos",
                                   "GifDelayTime",    "GifTransparent",  "GifTransparentColor", "GifInterlaced",
                                   "GifScreenWidth",  "GifScreenHeight", "GifBackground",    "GifAspectRatio",
                                   "GifLzwDecoder",   "GifLzwEncoder",   "GifImageCount",    "ColorMap"};

// One bit keeps only exactly two colours (one colour is dithered).
constexpr int kExactPaletteDepths[] = {2, 3, 4, 5, 6, 7, 8};

std::string Detail(const TIOParamsVals& p) { return p.GifInterlaced ? " Interlaced" : ""; }

// The transparent colour, when there is one, else the logical screen's.
bool ReadBackground(const TIOParamsVals& p, TBGR& background) {
  background = p.GifTransparent ? p.GifTransparentColor : p.GifBackground;
  return true;
}

bool CoderInstalled(bool writing) {
  return writing ? TZiridEvIO::GifEncoderInstalled() : TZiridEvIO::GifDecoderInstalled();
}

}  // namespace

extern const TFileFormatInfo GIFFormat{
    .TypeCode = ftGIF,
    .Name = "CompuServe Bitmap",
    .Extensions = "GIF",
    .Tests = kTests,
    .ReadProc = ReadGIFStream,
    .WriteProc = WriteGIFStream,
    .CoderInstalled = CoderInstalled,
    .FillsAlpha = true,
    .ImageIndex = &TIOParamsVals::GifImageIndex,
    .ImageCount = &TIOParamsVals::GifImageCount,
    .Fields = kFields,
    .Detail = Detail,
    .StreamReadSetsDpi = false,
    .ReadBackground = ReadBackground,
    .ExactPaletteDepths = kExactPaletteDepths,
};

int CountGifImagesInStream(TIEStream& stream) {
  TGifScreen screen;
  if (!ReadGifScreen(stream, screen)) return 0;
  return int(WalkGifBlocks(stream, [](TGifImage&) { return TGifVisit::gvSkipData; }));
}

int TZiridEvIO::CountGifImages(const std::string& fileName) {
  TIEFileStream file;
  return file.Open(fileName, TIEFileStream::fmRead) ? CountGifImagesInStream(file) : 0;
}

void TZiridEvIO::LoadFromFileGIF(const std::string& fileName) { LoadFromFileFormat(fileName, ftGIF); }
void TZiridEvIO::LoadFromStreamGIF(TIEStream& stream) { LoadFromStreamFormat(stream, ftGIF); }
void TZiridEvIO::SaveToFileGIF(const std::string& fileName) { SaveToFileFormat(fileName, ftGIF); }
void TZiridEvIO::SaveToStreamGIF(TIEStream& stream) { SaveToStreamFormat(stream, ftGIF); }

}  // namespace quillet
