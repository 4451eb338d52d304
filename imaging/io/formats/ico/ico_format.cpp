// The icon and cursor formats: table rows, directory tests and readers.
#include "imaging/io/format_table.h"
#include "imaging/io/ziridev_io.h"
#include "imaging/io/formats/ico/ico_codec.h"

namespace quillet {

namespace {

constexpr TIOContentTest kIconTests[] = {{120, IsICOStream}};
constexpr TIOContentTest kCursorTests[] = {{130, IsCURStream}};

constexpr const char* kIconFields[] = {"IcoImageIndex", "IcoBackground", "ColorMap"};
constexpr const char* kCursorFields[] = {"CurImageIndex", "CurXHotSpot", "CurYHotSpot", "CurBackground", "ColorMap"};

}  // namespace

extern const TFileFormatInfo ICOFormat{
    .TypeCode = ftICO,
    .Name = "Windows Icon",
    .Extensions = "ICO",
    .Tests = kIconTests,
    .ReadProc = ReadICOStream,
    .FillsAlpha = true,
    .ImageIndex = &TIOParamsVals::IcoImageIndex,
    .Fields = kIconFields,
    .StreamReadSetsDpi = false,
};

extern const TFileFormatInfo CURFormat{
    .TypeCode = ftCUR,
    .Name = "Windows Cursor",
    .Extensions = "CUR",
    .Tests = kCursorTests,
    .ReadProc = ReadCURStream,
    .FillsAlpha = true,
    .ImageIndex = &TIOParamsVals::CurImageIndex,
    .Fields = kCursorFields,
    .StreamReadSetsDpi = false,
};

void TZiridEvIO::LoadFromFileICO(const std::string& fileName) { LoadFromFileFormat(fileName, ftICO); }
void TZiridEvIO::LoadFromStreamICO(TIEStream& stream) { LoadFromStreamFormat(stream, ftICO); }

void TZiridEvIO::LoadFromFileCUR(const std::string& fileName) { LoadFromFileFormat(fileName, ftCUR); }
void TZiridEvIO::LoadFromStreamCUR(TIEStream& stream) { LoadFromStreamFormat(stream, ftCUR); }

}  // namespace quillet
