// The BMP format: table row, content test, codec and description.
#include "imaging/io/format_detect.h"
#include "imaging/io/format_table.h"
#include "imaging/io/ziridev_io.h"
#include "imaging/io/formats/bmp/bmp_codec.h"

namespace quillet {

namespace {

bool HasSignature(TIEStream& s) { return StreamStartsWith(s, "BM", 2, 14); }

constexpr TIOContentTest kTests[] = {{70, HasSignature}};

constexpr const char* kFields[] = {"BmpVersion", "BmpCompression", "ColorMap"};

// One bit keeps only exactly two colours (one colour is dithered).
constexpr int kExactPaletteDepths[] = {4, 8};

std::string Detail(const TIOParamsVals& p) {
  static const char* const kVersions[] = {" ver.1", " ver.3", " OS/2 v.1", " OS/2 v.2"};
  return PickText(kVersions, p.BmpVersion);
}

}  // namespace

extern const TFileFormatInfo BMPFormat{
    .TypeCode = ftBMP,
    .Name = "Windows Bitmap",
    .Extensions = "BMP;DIB;RLE",
    .Tests = kTests,
    .ReadProc = ReadBMPStream,
    .WriteProc = WriteBMPStream,
    .Fields = kFields,
    .Detail = Detail,
    .StreamReadSetsDpi = false,
    .StreamLengthFromHeader = true,
    .ExactPaletteDepths = kExactPaletteDepths,
};

void TZiridEvIO::LoadFromFileBMP(const std::string& fileName) { LoadFromFileFormat(fileName, ftBMP); }
void TZiridEvIO::LoadFromStreamBMP(TIEStream& stream) { LoadFromStreamFormat(stream, ftBMP); }
void TZiridEvIO::SaveToFileBMP(const std::string& fileName) { SaveToFileFormat(fileName, ftBMP); }
void TZiridEvIO::SaveToStreamBMP(TIEStream& stream) { SaveToStreamFormat(stream, ftBMP); }

}  // namespace quillet
