// The TIFF format: table row, content tests, stream header and description.
// Its codec is not built yet, so reads and writes fail cleanly.
#include "imaging/io/format_detect.h"
#include "imaging/io/format_table.h"

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
    .FillsAlpha = true,
    .ImageIndex = &TIOParamsVals::TiffImageIndex,
    .Fields = kFields,
    .Detail = Detail,
    .StreamTag = "TIFF",
    .StreamHeader = TStreamHeaderKind::shRequired,
};

}  // namespace quillet
