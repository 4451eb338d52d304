// The TIFF format: table row, content tests, codec, stream header,
// description, and the page operations of the I/O component.
#include "imaging/io/format_detect.h"
#include "imaging/io/format_table.h"
#include "imaging/io/formats/tiff/tiff_codec.h"
#include "imaging/io/ziridev_io.h"

namespace quillet {

namespace {

bool HasStreamHeader(TIEStream& s) { return StreamTagIs(s, "TIFF", 5, 12); }
bool HasByteOrder(TIEStream& s) { return StreamStartsWith(s, "II", 2, 8) || StreamStartsWith(s, "MM", 2, 8); }

constexpr TIOContentTest kTests[] = {{90, HasStreamHeader}, {100, HasByteOrder}};

constexpr const char* kFields[] = {"TiffCompression", "TiffImageIndex", "TiffPhotometric", "TiffPlanarConfig",
                                   "TiffXPos", "TiffYPos", "TiffDocumentName", "TiffImageDescription",
                                   "TiffPageName", "TiffPageNumber", "TiffPageCount", "TiffLzwDecoder",
                                   "TiffLzwEncoder", "AutoOrient", "TiffImageCount", "ColorMap"};

std::string Detail(const TIOParamsVals& p) {
  static const char* const kCompression[] = {" Uncompressed", " Huffman", " Group 3 Fax", " Group 3 Fax 2D",
                                             " Group 4 Fax", " LZW", " Jpeg v.5", " Jpeg", " PackBits RLE"};
  return PickText(kCompression, size_t(p.TiffCompression));
}

}  // namespace

extern const TFileFormatInfo TIFFFormat{
    .TypeCode = ftTIFF,
    .Name = "TIFF Bitmap",
    .Extensions = "TIF;TIFF",
    .Tests = kTests,
    .ReadProc = ReadTIFFStream,
    .WriteProc = WriteTIFFStream,
    .FillsAlpha = true,
    .ImageIndex = &TIOParamsVals::TiffImageIndex,
    .Fields = kFields,
    .Detail = Detail,
    .StreamTag = "TIFF",
    .StreamHeader = TStreamHeaderKind::shRequired,
    .InsertProc = InsertTIFFStream,
    .CountProc = CountTiffPages,
};

void TZiridEvIO::LoadFromFileTIFF(const std::string& fileName) { LoadFromFileFormat(fileName, ftTIFF); }
void TZiridEvIO::LoadFromStreamTIFF(TIEStream& stream) { LoadFromStreamFormat(stream, ftTIFF); }
void TZiridEvIO::SaveToFileTIFF(const std::string& fileName) { SaveToFileFormat(fileName, ftTIFF); }
void TZiridEvIO::SaveToStreamTIFF(TIEStream& stream) { SaveToStreamFormat(stream, ftTIFF); }
int TZiridEvIO::InsertToFileTIFF(const std::string& fileName) { return InsertToFileFormat(fileName, ftTIFF); }
int TZiridEvIO::InsertToStreamTIFF(TIEStream& stream) { return InsertToStreamFormat(stream, ftTIFF); }
int TZiridEvIO::CountTiffImages(const std::string& fileName) { return CountImages(fileName, ftTIFF); }

}  // namespace quillet
