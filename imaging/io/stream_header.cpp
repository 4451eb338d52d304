// Reading and writing the stream header in front of codec data.
#include "imaging/io/stream_header.h"

#include <algorithm>
#include <cstring>

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

std::optional<TStreamFrame> ReadRequired(TIEStream& stream, int64_t start, const char* tag) {
  const THeader h = ReadHeader(stream);
  if (!h.complete || !h.TagIs(tag, 4)) return std::nullopt;
  return FramedData(stream, start, h);
}

// The full tag carries a length; an older tag that shares its first three
// characters has none, and the data starts after its 4 bytes.
std::optional<TStreamFrame> ReadLegacy(TIEStream& stream, int64_t start, const char* tag) {
  const THeader h = ReadHeader(stream);
  if (h.complete && h.TagIs(tag, 4)) return FramedData(stream, start, h);
  if (!h.TagIs(tag, 3)) return std::nullopt;
  stream.Seek(start + 4, TSeekOrigin::soBeginning);
  return RestOfStream(stream);
}

TStreamFrame ReadOptional(TIEStream& stream, int64_t start, const char* tag) {
  const THeader h = ReadHeader(stream);
  if (h.complete && h.TagIs(tag, 4)) return FramedData(stream, start, h);
  stream.Seek(start, TSeekOrigin::soBeginning);
  return RestOfStream(stream);
}

}  // namespace

std::optional<TStreamFrame> ReadStreamHeader(TIEStream& stream, const TFileFormatInfo& format, bool streamHeaders) {
  const int64_t start = stream.Position();
  switch (format.StreamHeader) {
    case TStreamHeaderKind::shOptional: return ReadOptional(stream, start, format.StreamTag);
    case TStreamHeaderKind::shRequired:
      if (streamHeaders) return ReadRequired(stream, start, format.StreamTag);
      break;
    case TStreamHeaderKind::shLegacy:
      if (streamHeaders) return ReadLegacy(stream, start, format.StreamTag);
      break;
    case TStreamHeaderKind::shNone: break;
  }
  return RestOfStream(stream);
}

void WriteStreamHeader(TIEStream& stream, const char* tag, int64_t length) {
  stream.WriteExact(tag, 4);
  stream.WriteU32LE(0);
  stream.WriteU32LE(uint32_t(std::clamp<int64_t>(length, 0, UINT32_MAX)));
}

}  // namespace quillet
