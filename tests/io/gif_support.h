// GIF files made in memory for the codec's tests: a logical screen, a global
// table and images with their own tables and control extensions, coded by
// our LZW encoder; and a fixture that installs the coders.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "codec_harness.h"
#include "imaging/core/bits.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/formats/gif/gif_codec.h"

namespace quillet::test {

struct GifImageSpec {
  int w = 1, h = 1, left = 0, top = 0;
  std::vector<uint8_t> indices;          // w x h, display order
  std::vector<TBGR> local = {};          // a local table when not empty
  bool interlaced = false;
  std::optional<int> delay = {};         // a control extension when given
  std::optional<int> transparent = {};   // its transparent index, flag set
  int codeSize = 0;                      // the LZW minimum code size; 0: from the table
};

// 2^bits entries: the colours given, then black.
inline void PutTable(Bytes& b, const std::vector<TBGR>& colours, int bits) {
  for (int i = 0; i < 1 << bits; ++i) {
    const TBGR c = i < int(colours.size()) ? colours[size_t(i)] : kBlack;
    b.u8(c.r).u8(c.g).u8(c.b);
  }
}

inline int TableBits(size_t colours) {
  int bits = 1;
  while ((size_t(1) << bits) < colours) ++bits;
  return bits;
}

// The LZW data of an image (code size byte, sub-blocks, terminator).
inline std::vector<uint8_t> LzwData(const std::vector<uint8_t>& indices, int w, int h, int bits, bool interlaced) {
  TIEMemoryStream s;
  GifLzwEncode(s, h, w, bits, indices.data(), interlaced);
  return s.Bytes();
}

inline void PutImage(Bytes& b, const GifImageSpec& im, int globalBits) {
  if (im.delay || im.transparent)
    b.raw({0x21, 0xF9, 4}).u8(im.transparent ? 1 : 0).u16(uint16_t(im.delay.value_or(0)))
        .u8(uint8_t(im.transparent.value_or(0))).u8(0);
  const int localBits = im.local.empty() ? 0 : TableBits(im.local.size());
  b.u8(0x2C).u16(uint16_t(im.left)).u16(uint16_t(im.top)).u16(uint16_t(im.w)).u16(uint16_t(im.h));
  b.u8(uint8_t((localBits ? 0x80 | (localBits - 1) : 0) | (im.interlaced ? 0x40 : 0)));
  if (localBits) PutTable(b, im.local, localBits);
  const int bits = im.codeSize ? im.codeSize : std::max(localBits ? localBits : globalBits, 2);
  const std::vector<uint8_t> data = LzwData(im.indices, im.w, im.h, bits, im.interlaced);
  b.v.insert(b.v.end(), data.begin(), data.end());
}

// A GIF89a file; an empty global table writes none.
inline std::vector<uint8_t> MakeGif(int screenW, int screenH, const std::vector<TBGR>& global,
                                    const std::vector<GifImageSpec>& images, uint8_t background = 0) {
  Bytes b;
  b.raw({'G', 'I', 'F', '8', '9', 'a'}).u16(uint16_t(screenW)).u16(uint16_t(screenH));
  const int bits = global.empty() ? 0 : TableBits(global.size());
  b.u8(uint8_t(bits ? 0x80 | (bits - 1) << 4 | (bits - 1) : 0)).u8(background).u8(0);
  if (bits) PutTable(b, global, bits);
  for (const GifImageSpec& im : images) PutImage(b, im, bits);
  b.u8(0x3B);
  return b.v;
}

// Image `index` of a GIF, with an alpha plane when `alpha` is given.
inline Decoded DecodeGif(const std::vector<uint8_t>& bytes, int index = 0, TIEMask* alpha = nullptr) {
  return Decode(ReadGIFStream, bytes, [=](TIOParamsVals& p) { p.GifImageIndex = index; }, false, -1, alpha);
}

// Pixel (x, y) of a 24-bit bitmap, or black or white of a 1-bit one.
inline void PutPixel(TIEWorkingBitmap& b, int x, int y, TBGR c) {
  if (b.PixelFormat() == TIEPixelFormat::pf1bit) return SetBit(b.ScanLine(y), x, c == kWhite);
  uint8_t* p = b.ScanLine(y) + 3 * x;
  p[0] = c.b, p[1] = c.g, p[2] = c.r;
}

// Tests of the codec start with the coders installed, whatever ran before.
class GifTest : public testing::Test {
 protected:
  void SetUp() override { InstallDefaultCoders(); }
};

}  // namespace quillet::test
