// The PNG format: table row, signature test, codec and description.
#include <png.h>

#include "imaging/io/format_table.h"
#include "imaging/io/ziridev_io.h"
#include "imaging/io/formats/png/png_codec.h"

namespace quillet {

namespace {

// Detection asks for more than the signature's 8 bytes.
bool HasSignature(TIEStream& s) { return s.Remaining() > 8 && IsPNGStream(s); }

constexpr TIOContentTest kTests[] = {{110, HasSignature}};

constexpr const char* kFields[] = {"PngInterlaced", "PngBackground", "PngFilter", "PngCompression", "ColorMap"};

std::string Detail(const TIOParamsVals& p) { return p.PngInterlaced ? " Interlaced" : ""; }

// A file without a background of its own is composited over the current one.
void BeforeFileRead(TIOParamsVals& p, TBGR background) { p.PngBackground = background; }

bool ReadBackground(const TIOParamsVals& p, TBGR& background) {
  background = p.PngBackground;
  return true;
}

}  // namespace

bool IsPNGStream(TIEStream& stream) {
  const int64_t start = stream.Position();
  uint8_t signature[8];
  const bool read = stream.ReadExact(signature, sizeof signature);
  stream.Seek(start, TSeekOrigin::soBeginning);
  return read && png_sig_cmp(signature, 0, sizeof signature) == 0;
}

extern const TFileFormatInfo PNGFormat{
    .TypeCode = ftPNG,
    .Name = "Portable Network Graphics",
    .Extensions = "PNG",
    .Tests = kTests,
    .ReadProc = ReadPNGStream,
    .WriteProc = WritePNGStream,
    .FillsAlpha = true,
    .Fields = kFields,
    .Detail = Detail,
    .BeforeFileRead = BeforeFileRead,
    .ReadBackground = ReadBackground,
};

void TZiridEvIO::LoadFromFilePNG(const std::string& fileName) { LoadFromFileFormat(fileName, ftPNG); }
void TZiridEvIO::LoadFromStreamPNG(TIEStream& stream) { LoadFromStreamFormat(stream, ftPNG); }
void TZiridEvIO::SaveToFilePNG(const std::string& fileName) { SaveToFileFormat(fileName, ftPNG); }
void TZiridEvIO::SaveToStreamPNG(TIEStream& stream) { SaveToStreamFormat(stream, ftPNG); }

}  // namespace quillet
