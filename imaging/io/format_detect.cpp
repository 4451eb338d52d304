// Content detection: the format table's own tests, the JPEG start search,
// the signature tests on the first bytes, then the directory and header tests.
#include "imaging/io/format_detect.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include <png.h>

#include "imaging/io/format_table.h"
#include "imaging/io/ico_codec.h"
#include "imaging/io/pxm_tokens.h"

namespace quillet {

namespace {

constexpr int64_t kJpegSearchOffsets = 100;
constexpr int kPxmTestTokens = 501;
constexpr int64_t kPxmTestBytes = int64_t(1) << 20;

// The first bytes after the position, read once for the signature tests.
struct THead {
  uint8_t bytes[8] = {};
  int64_t count = 0;  // bytes really read
  int64_t size = 0;   // bytes from the position to the end
};

THead ReadHead(TIEStream& stream) {
  THead head;
  head.size = stream.Remaining();
  head.count = stream.Read(head.bytes, sizeof head.bytes);
  return head;
}

bool Starts(const THead& h, const char* signature, int64_t length) {
  return h.count >= length && std::memcmp(h.bytes, signature, size_t(length)) == 0;
}

// The first n bytes as text, cut at the first zero byte: a stream header tag
// matches only when a zero byte follows it.
bool TagIs(const THead& h, int64_t n, const char* tag) {
  const int64_t have = std::min(n, h.count);
  const auto* end = std::find(h.bytes, h.bytes + have, uint8_t(0));
  const size_t len = size_t(end - h.bytes);
  return len == std::strlen(tag) && std::memcmp(h.bytes, tag, len) == 0;
}

struct TSignature {
  int32_t code;
  int64_t sizeAbove;  // the test applies only to more bytes than this
  bool (*matches)(const THead&);
};

const TSignature kSignatures[] = {
    {ftJPEG, 12, [](const THead& h) { return TagIs(h, 5, "JFIF"); }},
    {ftGIF, 13, [](const THead& h) { return Starts(h, "GIF", 3); }},
    {ftPCX, 12, [](const THead& h) { return TagIs(h, 5, "PCX2"); }},
    {ftPCX, 4, [](const THead& h) { return TagIs(h, 4, "PCX"); }},
    {ftBMP, 14, [](const THead& h) { return Starts(h, "BM", 2); }},
    {ftPCX, 128, [](const THead& h) { return h.count >= 2 && h.bytes[0] == 0x0A && h.bytes[1] <= 5; }},
    {ftTIFF, 12, [](const THead& h) { return TagIs(h, 5, "TIFF"); }},
    {ftTIFF, 8, [](const THead& h) { return Starts(h, "II", 2) || Starts(h, "MM", 2); }},
    {ftPNG, 8, [](const THead& h) { return h.count >= 8 && png_sig_cmp(h.bytes, 0, 8) == 0; }},
};

struct TContentTest {
  int32_t code;
  bool (*accepts)(TIEStream&);
};

const TContentTest kContentTests[] = {
    {ftICO, IsICOStream},
    {ftCUR, IsCURStream},
    {ftTGA, IsTGAStream},
    {ftPXM, IsPXMStream},
};

bool Passes(TIEStream& stream, int64_t start, bool (*test)(TIEStream&)) {
  const bool ok = test(stream);
  stream.Seek(start, TSeekOrigin::soBeginning);
  return ok;
}

int32_t DetectAt(TIEStream& stream, int64_t start) {
  for (const TFileFormatInfo& f : FileFormats())
    if (f.TestProc && Passes(stream, start, f.TestProc)) return f.TypeCode;
  if (FindJpegStart(stream) >= 0) return ftJPEG;
  const THead head = ReadHead(stream);
  stream.Seek(start, TSeekOrigin::soBeginning);
  for (const TSignature& s : kSignatures)
    if (head.size > s.sizeAbove && s.matches(head)) return s.code;
  for (const TContentTest& t : kContentTests)
    if (Passes(stream, start, t.accepts)) return t.code;
  return ftNone;
}

bool IsPxmMagic(const std::string& token) {
  return token.size() == 2 && token[0] == 'P' && token[1] >= '1' && token[1] <= '6';
}

}  // namespace

int32_t DetectStreamFormat(TIEStream& stream) {
  const int64_t start = stream.Position();
  int32_t code = ftNone;
  try {
    code = DetectAt(stream, start);
  } catch (const std::exception&) {
    code = ftNone;
  }
  stream.Seek(start, TSeekOrigin::soBeginning);
  return code;
}

int32_t DetectFileFormat(const std::string& fileName, bool checkExtension) {
  TIEFileStream file;
  if (!file.Open(fileName, TIEFileStream::fmRead)) return ftNone;
  const int32_t content = DetectStreamFormat(file);
  if (!checkExtension) return content;
  const int32_t byName = FileTypeOfName(fileName);
  const bool iconic = content == ftICO || content == ftCUR;
  if (iconic) return byName == ftICO || byName == ftCUR ? byName : ftNone;
  return content == byName ? content : ftNone;
}

int64_t FindJpegStart(TIEStream& stream) {
  const int64_t start = stream.Position();
  uint8_t bytes[kJpegSearchOffsets + 2];
  const int64_t n = stream.Read(bytes, sizeof bytes);
  stream.Seek(start, TSeekOrigin::soBeginning);
  for (int64_t i = 0; i + 2 < n; ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xD8 && bytes[i + 2] == 0xFF) return i;
  return -1;
}

bool IsPNGStream(TIEStream& stream) {
  const int64_t start = stream.Position();
  uint8_t signature[8];
  const bool read = stream.ReadExact(signature, sizeof signature);
  stream.Seek(start, TSeekOrigin::soBeginning);
  return read && png_sig_cmp(signature, 0, sizeof signature) == 0;
}

bool IsTargaImageType(int type) { return (type >= 1 && type <= 3) || (type >= 9 && type <= 11); }

bool IsTargaPixelDepth(int depth) {
  return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

bool IsTGAStream(TIEStream& stream) {
  const int64_t start = stream.Position();
  uint8_t h[18];
  const bool read = stream.ReadExact(h, sizeof h);
  stream.Seek(start, TSeekOrigin::soBeginning);
  if (!read || !IsTargaImageType(h[2]) || !IsTargaPixelDepth(h[16])) return false;
  const bool pxmStart = h[0] == 'P' && h[1] >= '2' && h[1] <= '6' && (h[2] == ' ' || h[2] == '#' || h[2] == '\n');
  return !pxmStart;
}

bool IsPXMStream(TIEStream& stream) {
  const int64_t start = stream.Position();
  TPxmTokenReader reader(stream, kPxmTestBytes);
  std::string values[3], token;
  int found = 0;
  for (int i = 0; i < kPxmTestTokens && found < 3 && reader.Next(token); ++i)
    if (token[0] != '#') values[found++] = token;
  stream.Seek(start, TSeekOrigin::soBeginning);
  return found == 3 && IsPxmMagic(values[0]) && PxmNumber(values[1]) > 0 && PxmNumber(values[2]) > 0;
}

}  // namespace quillet
