// Content detection: every registered format's tests in their common order.
#include "imaging/io/format_detect.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/failure_guard.h"
#include "imaging/io/format_table.h"

namespace quillet {

namespace {

constexpr int64_t kJpegSearchOffsets = 100;

struct TOrderedTest {
  TIOContentTest test;
  int32_t code;
};

// Every format's tests by ascending order; formats in table order among equals.
std::vector<TOrderedTest> OrderedTests() {
  std::vector<TOrderedTest> tests;
  for (const TFileFormatInfo* f : FileFormats())
    for (const TIOContentTest& t : f->Tests) tests.push_back({t, f->TypeCode});
  std::stable_sort(tests.begin(), tests.end(),
                   [](const TOrderedTest& a, const TOrderedTest& b) { return a.test.Order < b.test.Order; });
  return tests;
}

int32_t DetectAt(TIEStream& stream, int64_t start) {
  for (const TOrderedTest& t : OrderedTests()) {
    const bool accepted = t.test.Accepts(stream);
    stream.Seek(start, TSeekOrigin::soBeginning);
    if (accepted) return t.code;
  }
  return ftNone;
}

// Up to n bytes from the position; the position is restored.
size_t Peek(TIEStream& stream, uint8_t* bytes, size_t n) {
  const int64_t start = stream.Position();
  const int64_t got = stream.Read(bytes, int64_t(n));
  stream.Seek(start, TSeekOrigin::soBeginning);
  return size_t(std::max<int64_t>(got, 0));
}

}  // namespace

int32_t DetectStreamFormat(TIEStream& stream) {
  const int64_t start = stream.Position();
  int32_t code = ftNone;
  if (FailureOf([&] { code = DetectAt(stream, start); })) code = ftNone;
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
  uint8_t bytes[kJpegSearchOffsets + 2];
  const size_t n = Peek(stream, bytes, sizeof bytes);
  for (size_t i = 0; i + 2 < n; ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xD8 && bytes[i + 2] == 0xFF) return int64_t(i);
  return -1;
}

bool StreamStartsWith(TIEStream& stream, const char* signature, size_t n, int64_t sizeAbove) {
  uint8_t bytes[16];
  if (stream.Remaining() <= sizeAbove || n > sizeof bytes) return false;
  return Peek(stream, bytes, n) == n && std::memcmp(bytes, signature, n) == 0;
}

bool StreamTagIs(TIEStream& stream, const char* tag, size_t n, int64_t sizeAbove) {
  uint8_t bytes[16];
  if (stream.Remaining() <= sizeAbove || n > sizeof bytes) return false;
  const size_t have = Peek(stream, bytes, n);
  const size_t len = size_t(std::find(bytes, bytes + have, uint8_t(0)) - bytes);
  return len == std::strlen(tag) && std::memcmp(bytes, tag, len) == 0;
}

}  // namespace quillet
