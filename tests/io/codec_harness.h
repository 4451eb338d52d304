// Runs a codec directly on bytes in memory, as the I/O component would,
// and gives the bitmap, the parameters and the Aborting flag back.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "imaging/core/mask.h"
#include "imaging/io/codec.h"
#include "support/oracle_harness.h"

namespace quillet::test {

struct Decoded {
  TIEWorkingBitmap bitmap;
  TIOParamsVals params;
  bool aborted = false;
  std::string error;
  std::vector<int> progress;
};

inline Decoded Decode(TIOReadProc read, const std::vector<uint8_t>& bytes,
                      const std::function<void(TIOParamsVals&)>& setup = {}, bool paramsOnly = false,
                      int abortAt = -1, TIEMask* alpha = nullptr) {
  Decoded d;
  if (setup) setup(d.params);
  TIEMemoryStream stream(bytes.data(), int64_t(bytes.size()));
  TIOProgress progress;
  progress.Aborting = &d.aborted;
  progress.Error = &d.error;
  progress.OnProgress = [&](TZiridEvIO*, int per) {
    d.progress.push_back(per);
    if (per == abortAt) d.aborted = true;
  };
  TIOReadArgs args{stream, d.bitmap, d.params, progress, paramsOnly, int64_t(bytes.size()), alpha};
  read(args);
  return d;
}

// Colours 0xRRGGBB of every pixel, rows from the top.
inline std::vector<uint32_t> Colours(const TIEWorkingBitmap& b) {
  std::vector<uint32_t> out;
  for (int64_t y = 0; y < b.Height(); ++y)
    for (int64_t x = 0; x < b.Width(); ++x) {
      const TBGR c = b.Pixel(x, y);
      out.push_back(uint32_t(c.r) << 16 | c.g << 8 | c.b);
    }
  return out;
}

// A hand-made file and what the reader must make of it.
struct TReadCase {
  const char* name;
  std::vector<uint8_t> file;
  std::vector<uint32_t> pixels;  // Colours() of the result; empty: not checked
  bool aborted = false;
};

inline void CheckReadCases(TIOReadProc read, const std::vector<TReadCase>& cases) {
  for (const TReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Decoded d = Decode(read, c.file);
    EXPECT_EQ(d.aborted, c.aborted) << d.error;
    if (!c.pixels.empty()) {
      EXPECT_EQ(Colours(d.bitmap), c.pixels);
    }
  }
}

// A reader as the decoder of the oracle checks; `alpha` asks for the alpha plane.
inline TOurDecode ByCodec(TIOReadProc read, std::function<void(TIOParamsVals&)> setup = {}, bool alpha = false) {
  return [=](const std::vector<uint8_t>& bytes) {
    TOurImage out;
    Decoded d = Decode(read, bytes, setup, false, -1, alpha ? &out.alpha : nullptr);
    out.ok = !d.aborted, out.error = d.error, out.bitmap = std::move(d.bitmap);
    return out;
  };
}

// Runs a writer into `stream`; true when it set Aborting.
inline bool EncodeTo(TIOWriteProc write, const TIEWorkingBitmap& bitmap, TIOParamsVals& params, TIEStream& stream) {
  bool aborted = false;
  TIOProgress progress;
  progress.Aborting = &aborted;
  TIOWriteArgs args{stream, bitmap, params, progress};
  write(args);
  return aborted;
}

inline std::vector<uint8_t> Encode(TIOWriteProc write, const TIEWorkingBitmap& bitmap, TIOParamsVals& params) {
  TIEMemoryStream stream;
  EncodeTo(write, bitmap, params, stream);
  return stream.Bytes();
}

// Our decoding as RGB bytes, rows top to bottom, for comparing with a PAM.
inline std::vector<uint8_t> RgbBytes(const TIEWorkingBitmap& b) {
  std::vector<uint8_t> out;
  out.reserve(size_t(b.Width() * b.Height() * 3));
  for (int64_t y = 0; y < b.Height(); ++y)
    for (int64_t x = 0; x < b.Width(); ++x) {
      const TBGR c = b.Pixel(x, y);
      out.insert(out.end(), {c.r, c.g, c.b});
    }
  return out;
}

// Little-endian byte builder for hand-made files.
struct Bytes {
  std::vector<uint8_t> v;
  Bytes& u8(uint8_t x) { return v.push_back(x), *this; }
  Bytes& u16(uint16_t x) { return u8(uint8_t(x)).u8(uint8_t(x >> 8)); }
  Bytes& u32(uint32_t x) { return u16(uint16_t(x)).u16(uint16_t(x >> 16)); }
  Bytes& raw(std::initializer_list<uint8_t> xs) { return v.insert(v.end(), xs), *this; }
  Bytes& zeros(size_t n) { return v.insert(v.end(), n, 0), *this; }
  void put32(size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
  }
};

// A BMP with a 40-byte header (or `headerSize` bytes, zero padded), an optional
// palette of 4-byte entries, optional masks after the header, and `pixels`.
inline std::vector<uint8_t> MakeBmp(int32_t w, int32_t h, int bits, uint32_t compression,
                                    const std::vector<TBGR>& palette, const std::vector<uint8_t>& pixels,
                                    const std::vector<uint32_t>& masks = {}) {
  Bytes b;
  b.raw({'B', 'M'}).u32(0).u32(0).u32(0);
  b.u32(40).u32(uint32_t(w)).u32(uint32_t(h)).u16(1).u16(uint16_t(bits)).u32(compression);
  b.u32(uint32_t(pixels.size())).u32(2835).u32(2835).u32(uint32_t(palette.size())).u32(0);
  for (uint32_t m : masks) b.u32(m);
  for (const TBGR& c : palette) b.u8(c.b).u8(c.g).u8(c.r).u8(0);
  const size_t offset = b.v.size();
  b.v.insert(b.v.end(), pixels.begin(), pixels.end());
  b.put32(2, uint32_t(b.v.size()));
  b.put32(10, uint32_t(offset));
  return b.v;
}

}  // namespace quillet::test
