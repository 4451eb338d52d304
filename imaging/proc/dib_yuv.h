// The YUV layouts a device-independent bitmap block names by a four-character
// code in its compression field, and their conversion into 24-bit rows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "imaging/core/working_bitmap.h"

namespace quillet {

// A four-character code as stored, first character in the lowest byte.
constexpr uint32_t FourCC(const char (&c)[5]) {
  return uint32_t(uint8_t(c[0])) | uint32_t(uint8_t(c[1])) << 8 | uint32_t(uint8_t(c[2])) << 16 |
         uint32_t(uint8_t(c[3])) << 24;
}

enum class TYuvKind { ykPacked, ykCljr, ykPlanar };

struct TYuvLayout {
  uint32_t Code = 0;
  TYuvKind Kind = TYuvKind::ykPacked;
  bool Reversed = false;  // rows in the opposite order to the other layouts
  int GroupPixels = 1;    // pixels of one step; planar: the chroma subsampling
  int GroupBytes = 0;     // packed layouts only
  // Packed layouts: offsets of pixel i's Y, U and V bytes inside its group.
  std::array<uint8_t, 8> Y{}, U{}, V{};
  bool UPlaneFirst = false;  // planar layouts only
};

// The layout of a compression code, or null when it names none.
const TYuvLayout* FindYuvLayout(uint32_t code);

// Bytes of the pixel data of a width x height image: rows unpadded, a last
// incomplete group stored whole. Nothing when a planar image is too small to
// have chroma samples.
std::optional<int64_t> YuvDataBytes(const TYuvLayout& layout, int64_t width, int64_t height);

// Converts YuvDataBytes bytes of `data` into the 24-bit `out`, which has the
// image's size. With a positive header height the first data row is the top
// row (the bottom row for the reversed layouts), with a negative one the opposite.
void DecodeYuv(const TYuvLayout& layout, const uint8_t* data, bool positiveHeight, TIEWorkingBitmap& out);

}  // namespace quillet
