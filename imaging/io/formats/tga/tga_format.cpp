// The Targa format: table row, content test, codec and description.
#include "imaging/io/format_table.h"
#include "imaging/io/formats/tga/tga_codec.h"

namespace quillet {

namespace {

bool IsImageType(int type) { return (type >= 1 && type <= 3) || (type >= 9 && type <= 11); }

bool IsPixelDepth(int depth) {
  return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

// An 18-byte header with a known image type and depth that is not the start
// of a PXM header ("P1" to "P6"; a Targa never has such a colour map type).
bool HasHeader(TIEStream& stream) {
  const int64_t start = stream.Position();
  uint8_t h[18];
  const bool read = stream.ReadExact(h, sizeof h);
  stream.Seek(start, TSeekOrigin::soBeginning);
  if (!read || !IsImageType(h[2]) || !IsPixelDepth(h[16])) return false;
  return !(h[0] == 'P' && h[1] >= '1' && h[1] <= '6');
}

constexpr TIOContentTest kTests[] = {{140, HasHeader}};

constexpr const char* kFields[] = {"TgaXPos",        "TgaYPos",  "TgaCompressed", "TgaDescriptor",
                                   "TgaAuthor",      "TgaDate",  "TgaImageName",  "TgaBackground",
                                   "TgaAspectRatio", "TgaGamma", "TgaGrayLevel",  "ColorMap"};

std::string Detail(const TIOParamsVals& p) { return p.TgaCompressed ? " Compressed" : " Uncompressed"; }

}  // namespace

extern const TFileFormatInfo TGAFormat{
    .TypeCode = ftTGA,
    .Name = "Targa Bitmap",
    .Extensions = "TGA;TARGA;VDA;ICB;VST;PIX",
    .ExtraExtensions = "WIN",
    .Tests = kTests,
    .ReadProc = ReadTGAStream,
    .WriteProc = WriteTGAStream,
    .Fields = kFields,
    .Detail = Detail,
    .StreamReadSetsDpi = false,
};

}  // namespace quillet
