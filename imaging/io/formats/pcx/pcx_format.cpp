// The PCX format: table row, content tests, stream header, codec and
// description.
#include "imaging/io/format_detect.h"
#include "imaging/io/format_table.h"
#include "imaging/io/formats/pcx/pcx_codec.h"

namespace quillet {

namespace {

bool HasStreamHeader(TIEStream& s) { return StreamTagIs(s, "PCX2", 5, 12); }
bool HasOldStreamHeader(TIEStream& s) { return StreamTagIs(s, "PCX", 4, 4); }

// The manufacturer byte 0x0A and a version up to 5.
bool HasFileHeader(TIEStream& s) {
  uint8_t h[2];
  const int64_t start = s.Position();
  const bool ok = s.Remaining() > 128 && s.ReadExact(h, 2) && h[0] == 0x0A && h[1] <= 5;
  s.Seek(start, TSeekOrigin::soBeginning);
  return ok;
}

constexpr TIOContentTest kTests[] = {{50, HasStreamHeader}, {60, HasOldStreamHeader}, {80, HasFileHeader}};

constexpr const char* kFields[] = {"PcxVersion", "PcxCompression", "ColorMap"};

std::string Detail(const TIOParamsVals& p) { return p.PcxCompression == 0 ? " Uncompressed" : ""; }

}  // namespace

extern const TFileFormatInfo PCXFormat{
    .TypeCode = ftPCX,
    .Name = "PaintBrush",
    .Extensions = "PCX",
    .Tests = kTests,
    .ReadProc = ReadPCXStream,
    .WriteProc = WritePCXStream,
    .Fields = kFields,
    .Detail = Detail,
    .StreamTag = "PCX2",
    .StreamHeader = TStreamHeaderKind::shLegacy,
};

}  // namespace quillet
