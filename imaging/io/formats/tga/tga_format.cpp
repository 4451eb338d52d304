// The Targa format: table row, content test and description. Its codec is
// not built yet, so reads and writes fail cleanly.
#include "imaging/io/format_table.h"

namespace quillet {

namespace {

bool IsImageType(int type) { return (type >= 1 && type <= 3) || (type >= 9 && type <= 11); }

bool IsPixelDepth(int depth) {
  return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

// An 18-byte header with a known image type and depth that is not the start
// of a PXM header.
bool HasHeader(TIEStream& stream) {
  const int64_t start = stream.Position();
  uint8_t h[18];
  const bool read = stream.ReadExact(h, sizeof h);
  stream.Seek(start, TSeekOrigin::soBeginning);
  if (!read || !IsImageType(h[2]) || !IsPixelDepth(h[16])) return false;
  const bool pxmStart = h[0] == 'P' && h[1] >= '2' && h[1] <= '6' && (h[2] == ' ' || h[2] == '#' || h[2] == '\n');
  return !pxmStart;
}

constexpr TIOContentTest kTests[] = {{140, HasHeader}};

constexpr const char* kFields[] = {"TgaXPos",      "TgaYPos",       "TgaCompressed",  "TgaDescriptor",
                                   "TgaAuthor",    "TgaDate",       "TgaImageName",   "TgaBackground",
                                   "TgaAspectRatio", "TgaGamma",    "TgaGrayLevel",   "ColorMap"};

std::string Detail(const TIOParamsVals& p) { return p.TgaCompressed ? " Compressed" : " Uncompressed"; }

}  // namespace

extern const TFileFormatInfo TGAFormat{
    .TypeCode = ftTGA,
    .Name = "Targa Bitmap",
    .Extensions = "TGA;TARGA;VDA;ICB;VST;PIX",
    .ExtraExtensions = "WIN",
    .Tests = kTests,
    .Fields = kFields,
    .Detail = Detail,
    .StreamReadSetsDpi = false,
};

}  // namespace quillet
