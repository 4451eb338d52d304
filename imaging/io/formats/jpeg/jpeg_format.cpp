// The JPEG format: table row, content tests, codec, stream header and description.
#include "imaging/io/format_detect.h"
#include "imaging/io/format_table.h"
#include "imaging/io/ziridev_io.h"
#include "imaging/io/formats/jpeg/jpeg_codec.h"

namespace quillet {

namespace {

bool HasStartOfImage(TIEStream& s) { return FindJpegStart(s) >= 0; }
bool HasStreamHeader(TIEStream& s) { return StreamTagIs(s, "JFIF", 5, 12); }

constexpr TIOContentTest kTests[] = {{20, HasStartOfImage}, {30, HasStreamHeader}};

constexpr const char* kFields[] = {"JpegColorSpace", "JpegQuality",    "JpegDctMethod", "JpegOptimalHuffman",
                                   "JpegSmoothing",  "JpegProgressive", "JpegScale",    "JpegMarkers",
                                   "JpegScaleDenominator", "IptcInfo",  "Exif*"};

std::string Detail(const TIOParamsVals& p) {
  static const char* const kSpaces[] = {"", " Gray level", " YCbCr", " CMYK", " YCbCrK"};
  return PickText(kSpaces, size_t(p.JpegColorSpace));
}

}  // namespace

extern const TFileFormatInfo JPEGFormat{
    .TypeCode = ftJPEG,
    .Name = "JPEG Bitmap",
    .Extensions = "JPG;JPEG;JPE",
    .ExtraExtensions = "JFIF",
    .Tests = kTests,
    .ReadProc = ReadJPEGStream,
    .WriteProc = WriteJPEGStream,
    .Fields = kFields,
    .Detail = Detail,
    .StreamTag = "JFIF",
    .StreamHeader = TStreamHeaderKind::shOptional,
};

void TZiridEvIO::LoadFromFileJPEG(const std::string& fileName) { LoadFromFileFormat(fileName, ftJPEG); }
void TZiridEvIO::LoadFromStreamJPEG(TIEStream& stream) { LoadFromStreamFormat(stream, ftJPEG); }
void TZiridEvIO::SaveToFileJPEG(const std::string& fileName) { SaveToFileFormat(fileName, ftJPEG); }
void TZiridEvIO::SaveToStreamJPEG(TIEStream& stream) { SaveToStreamFormat(stream, ftJPEG); }

}  // namespace quillet
