// Reading and writing the stream header of TIFF, PCX and JPEG stream data.
#include "imaging/io/stream_header.h"

#include <algorithm>
#include <cstring>

#include "imaging/io/file_types.h"

namespace quillet {

namespace {

struct THeader {
  uint8_t bytes[kStreamHeaderSize] = {};
  bool complete = false;

  bool TagIs(const char* tag, size_t len) const { return std::memcmp(bytes, tag, len) == 0; }
  int64_t Length() const {
    return int64_t(bytes[8]) | int64_t(bytes[9]) << 8 | int64_t(bytes[10]) << 16 | int64_t(bytes[11]) << 24;
  }
};

THeader ReadHeader(TIEStream& stream) {
  THeader h;
  h.complete = stream.ReadExact(h.bytes, kStreamHeaderSize);
  return h;
}

// The data announced by a header read at `start`; a length beyond the end is cut.
TStreamFrame FramedData(TIEStream& stream, int64_t start, const THeader& h) {
  const int64_t length = std::min(h.Length(), std::max<int64_t>(stream.Size() - start - kStreamHeaderSize, 0));
  return {length, start + kStreamHeaderSize + length};
}

TStreamFrame RestOfStream(TIEStream& stream) { return {stream.Remaining(), -1}; }

std::optional<TStreamFrame> ReadTiffHeader(TIEStream& stream, int64_t start) {
  const THeader h = ReadHeader(stream);
  if (!h.complete || !h.TagIs("TIFF", 4)) return std::nullopt;
  return FramedData(stream, start, h);
}

// "PCX2" carries a length; the older "PCX" tag has none and the data starts
// after its 4 bytes.
std::optional<TStreamFrame> ReadPcxHeader(TIEStream& stream, int64_t start) {
  const THeader h = ReadHeader(stream);
  if (h.complete && h.TagIs("PCX2", 4)) return FramedData(stream, start, h);
  if (!h.TagIs("PCX", 3)) return std::nullopt;
  stream.Seek(start + 4, TSeekOrigin::soBeginning);
  return RestOfStream(stream);
}

TStreamFrame ReadJpegHeader(TIEStream& stream, int64_t start) {
  const THeader h = ReadHeader(stream);
  if (h.complete && h.TagIs("JFIF", 4)) return FramedData(stream, start, h);
  stream.Seek(start, TSeekOrigin::soBeginning);
  return RestOfStream(stream);
}

}  // namespace

const char* StreamHeaderTag(int32_t fileType) {
  switch (fileType) {
    case ftTIFF: return "TIFF";
    case ftPCX: return "PCX2";
    case ftJPEG: return "JFIF";
    default: return nullptr;
  }
}

std::optional<TStreamFrame> ReadStreamHeader(TIEStream& stream, int32_t fileType, bool streamHeaders) {
  const int64_t start = stream.Position();
  if (fileType == ftJPEG) return ReadJpegHeader(stream, start);
  if (streamHeaders && fileType == ftTIFF) return ReadTiffHeader(stream, start);
  if (streamHeaders && fileType == ftPCX) return ReadPcxHeader(stream, start);
  return RestOfStream(stream);
}

int64_t BeginStreamHeader(TIEStream& stream) {
  const int64_t start = stream.Position();
  const uint8_t zeros[kStreamHeaderSize] = {};
  stream.WriteExact(zeros, kStreamHeaderSize);
  return start;
}

void FinishStreamHeader(TIEStream& stream, int64_t start, const char* tag) {
  const int64_t end = stream.Position();
  const uint32_t length = uint32_t(std::max<int64_t>(end - start - kStreamHeaderSize, 0));
  stream.Seek(start, TSeekOrigin::soBeginning);
  stream.WriteExact(tag, 4);
  stream.WriteU32LE(0);
  stream.WriteU32LE(length);
  stream.Seek(end, TSeekOrigin::soBeginning);
}

}  // namespace quillet
