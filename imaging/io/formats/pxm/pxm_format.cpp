// The portable bitmap, greymap and pixmap format: table row, content test
// and codec.
#include "imaging/io/format_table.h"
#include "imaging/io/formats/pxm/pxm_codec.h"
#include "imaging/io/formats/pxm/pxm_tokens.h"

namespace quillet {

namespace {

constexpr int kTestTokens = 501;
constexpr int64_t kTestBytes = int64_t(1) << 20;

bool IsMagic(const std::string& token) {
  return token.size() == 2 && token[0] == 'P' && token[1] >= '1' && token[1] <= '6';
}

// A P1..P6 magic followed by a positive width and height, comments skipped.
bool HasHeader(TIEStream& stream) {
  TPxmTokenReader reader(stream, kTestBytes);
  std::string values[3], token;
  int found = 0;
  for (int i = 0; i < kTestTokens && found < 3 && reader.Next(token); ++i)
    if (token[0] != '#') values[found++] = token;
  return found == 3 && IsMagic(values[0]) && PxmNumber(values[1]) > 0 && PxmNumber(values[2]) > 0;
}

constexpr TIOContentTest kTests[] = {{150, HasHeader}};

constexpr const char* kFields[] = {"PxmComments"};

}  // namespace

extern const TFileFormatInfo PXMFormat{
    .TypeCode = ftPXM,
    .Name = "Portable Pixmap, GreyMap, BitMap",
    .Extensions = "PXM;PPM;PGM;PBM;PNM",
    .Tests = kTests,
    .ReadProc = ReadPXMStream,
    .WriteProc = WritePXMStream,
    .Fields = kFields,
    .FileReadSetsDpi = false,
    .StreamReadSetsDpi = false,
};

}  // namespace quillet
