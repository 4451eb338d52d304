// Helpers of the JPEG and PNG tests: writing with an alpha plane, a stream
// that fills up, test pictures, and building and taking apart PNG chunks.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "codec_harness.h"

namespace quillet::test {

// A memory stream that takes only `capacity` bytes, then fails every write.
class TFullStream : public TIEMemoryStream {
 public:
  explicit TFullStream(int64_t capacity) : capacity_(capacity) {}
  int64_t Write(const void* buf, int64_t count) override {
    const int64_t room = std::max<int64_t>(0, capacity_ - Position());
    return TIEMemoryStream::Write(buf, std::min(count, room));
  }

 private:
  int64_t capacity_;
};

struct Encoded {
  std::vector<uint8_t> bytes;
  bool aborted = false;
  std::string error;
};

inline Encoded EncodeWith(TIOWriteProc write, const TIEWorkingBitmap& bitmap, TIOParamsVals& params,
                          const TIEMask* alpha = nullptr, TIEStream* into = nullptr) {
  Encoded e;
  TIEMemoryStream memory;
  TIEStream& stream = into ? *into : memory;
  TIOProgress progress;
  progress.Aborting = &e.aborted;
  progress.Error = &e.error;
  TIOWriteArgs args{stream, bitmap, params, progress, alpha};
  write(args);
  e.bytes = memory.Bytes();
  return e;
}

// A w x h picture with smooth areas and hard edges.
inline TIEWorkingBitmap Picture(int w, int h) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y) {
    uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < w; ++x, p += 3) {
      p[0] = uint8_t(x * 255 / std::max(1, w - 1));
      p[1] = uint8_t(y * 255 / std::max(1, h - 1));
      p[2] = uint8_t(x > w / 2 ? 220 : (x * y) % 256);
    }
  }
  return b;
}

inline std::vector<uint8_t> BigEndian32(uint32_t v) {
  return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

// A PNG file made chunk by chunk.
struct PngBuilder {
  std::vector<uint8_t> v{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PngBuilder& Chunk(const char* type, const std::vector<uint8_t>& data) {
    const auto len = BigEndian32(uint32_t(data.size()));
    v.insert(v.end(), len.begin(), len.end());
    const size_t start = v.size();
    v.insert(v.end(), type, type + 4);
    v.insert(v.end(), data.begin(), data.end());
    const auto crc = BigEndian32(uint32_t(crc32(0, v.data() + start, uInt(v.size() - start))));
    v.insert(v.end(), crc.begin(), crc.end());
    return *this;
  }
  PngBuilder& Header(uint32_t w, uint32_t h, uint8_t depth, uint8_t colorType) {
    std::vector<uint8_t> d = BigEndian32(w);
    const auto hb = BigEndian32(h);
    d.insert(d.end(), hb.begin(), hb.end());
    d.insert(d.end(), {depth, colorType, 0, 0, 0});
    return Chunk("IHDR", d);
  }
  // Rows of packed samples, each given without its filter byte.
  PngBuilder& Rows(const std::vector<std::vector<uint8_t>>& rows) {
    std::vector<uint8_t> raw;
    for (const auto& r : rows) {
      raw.push_back(0);
      raw.insert(raw.end(), r.begin(), r.end());
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> z(size);
    compress(z.data(), &size, raw.data(), uLong(raw.size()));
    z.resize(size);
    return Chunk("IDAT", z);
  }
  std::vector<uint8_t> End() { return Chunk("IEND", {}).v; }
};

// The chunks of a PNG file by type (the data of each occurrence).
inline std::multimap<std::string, std::vector<uint8_t>> PngChunks(const std::vector<uint8_t>& f) {
  std::multimap<std::string, std::vector<uint8_t>> out;
  for (size_t at = 8; at + 12 <= f.size();) {
    const uint32_t len = uint32_t(f[at]) << 24 | uint32_t(f[at + 1]) << 16 | uint32_t(f[at + 2]) << 8 | f[at + 3];
    if (at + 12 + len > f.size()) break;
    out.emplace(std::string(f.begin() + long(at) + 4, f.begin() + long(at) + 8),
                std::vector<uint8_t>(f.begin() + long(at) + 8, f.begin() + long(at) + 8 + len));
    at += 12 + len;
  }
  return out;
}

// The inflated image data of a non-interlaced file with unfiltered rows:
// the rows without their filter bytes.
inline std::vector<std::vector<uint8_t>> PngRawRows(const std::vector<uint8_t>& f, size_t rowBytes, size_t rows) {
  std::vector<uint8_t> z;
  for (const auto& [type, data] : PngChunks(f))
    if (type == "IDAT") z.insert(z.end(), data.begin(), data.end());
  std::vector<uint8_t> raw((rowBytes + 1) * rows);
  uLongf size = uLongf(raw.size());
  EXPECT_EQ(uncompress(raw.data(), &size, z.data(), uLong(z.size())), Z_OK);
  std::vector<std::vector<uint8_t>> out;
  for (size_t y = 0; y < rows; ++y) {
    EXPECT_EQ(raw[y * (rowBytes + 1)], 0) << "row " << y << " is filtered";
    out.emplace_back(raw.begin() + long(y * (rowBytes + 1) + 1), raw.begin() + long((y + 1) * (rowBytes + 1)));
  }
  return out;
}

}  // namespace quillet::test
