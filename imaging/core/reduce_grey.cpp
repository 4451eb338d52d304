// Box averaging of 1-bit images: the boxes of the columns are worked out once
// per call, then every source row adds the popcounts of its masked bytes.
#include "imaging/core/reduce_grey.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "imaging/core/math.h"

namespace quillet {

namespace {

// Set bits of every byte. std::popcount is a library call on baseline x86-64
// (no popcnt instruction), so the counts come from a table built with it.
constexpr std::array<uint8_t, 256> kBitCount = [] {
  std::array<uint8_t, 256> t{};
  for (int v = 0; v < 256; ++v) t[size_t(v)] = uint8_t(std::popcount(unsigned(v)));
  return t;
}();

// Source columns [First, Last] of one destination column, as bytes and masks.
struct TColumnBox {
  int64_t FirstByte, LastByte;
  uint8_t FirstMask, LastMask;  // equal bytes: FirstMask already includes LastMask
  int64_t Width;
};

bool Valid(const TIE1BitRows& s, int64_t left, int64_t top, int64_t sw, int64_t sh, int64_t dw, int64_t dh) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || !s.Row0) return false;
  if (left < 0 || top < 0 || sw > s.Width - left || sh > s.Height - top) return false;
  if (sw > int64_t(UINT32_MAX) / sh) return false;  // a box's count must fit 32 bits
  // Guards against absurd destination sizes; the output block must be addressable.
  return ImageBytes(dw, dh, 24).has_value();
}

// The box of destination index j along one axis: from start + trunc(r j) to
// max(start + trunc(r j + boxLen - 1), that), kept inside the source extent
// (which only a rounding error of r j could leave).
void Span(int64_t start, int64_t extent, double r, int64_t boxLen, int64_t j, int64_t& from, int64_t& to) {
  from = std::min(start + Trunc(r * double(j)), start + extent - 1);
  to = std::min(std::max(start + Trunc(r * double(j) + double(boxLen) - 1), from), start + extent - 1);
}

// Writes destination rows: the boxes of the columns are fixed per call.
class TReducer {
 public:
  TReducer(const TIE1BitRows& s, int64_t left, int64_t top, int64_t sw, int64_t sh, int64_t dw, int64_t dh)
      : s_(s), top_(top), sh_(sh), dw_(dw) {
    rx_ = double(sw) / double(dw);
    ry_ = double(sh) / double(dh);
    bw_ = Trunc(rx_);
    bh_ = Trunc(ry_);
    boxes_.resize(size_t(dw));
    singles_ = true;
    for (int64_t j = 0; j < dw; ++j) {
      int64_t a, b;
      Span(left, sw, rx_, bw_, j, a, b);
      TColumnBox& box = boxes_[size_t(j)];
      box.FirstByte = a >> 3;
      box.LastByte = b >> 3;
      box.FirstMask = uint8_t(0xFF >> (a & 7));
      box.LastMask = uint8_t(0xFF << (7 - (b & 7)));
      if (box.FirstByte == box.LastByte) box.FirstMask &= box.LastMask;
      box.Width = b - a + 1;
      singles_ = singles_ && box.Width == 1;
    }
    counts_.resize(size_t(dw));
  }

  // Source rows of destination row i.
  void RowsOf(int64_t i, int64_t& from, int64_t& to) const { Span(top_, sh_, ry_, bh_, i, from, to); }

  void Row(int64_t cy0, int64_t cy1, uint8_t* out) {
    if (singles_ && cy0 == cy1) {
      // Boxes of one pixel (enlarging, or up to twice the size): copy the bits.
      const uint8_t* row = s_.Row0 + cy0 * s_.Stride;
      for (const TColumnBox& box : boxes_) {
        const uint8_t v = (row[box.FirstByte] & box.FirstMask) ? 255 : 0;
        out[0] = out[1] = out[2] = v;
        out += 3;
      }
      return;
    }
    std::fill(counts_.begin(), counts_.end(), 0);
    for (int64_t y = cy0; y <= cy1; ++y) {
      const uint8_t* row = s_.Row0 + y * s_.Stride;
      uint32_t* c = counts_.data();
      for (const TColumnBox& box : boxes_) {
        uint32_t n = kBitCount[row[box.FirstByte] & box.FirstMask];
        if (box.LastByte != box.FirstByte) {
          for (int64_t k = box.FirstByte + 1; k < box.LastByte; ++k) n += kBitCount[row[k]];
          n += kBitCount[row[box.LastByte] & box.LastMask];
        }
        *c++ += n;
      }
    }
    const uint64_t rows = uint64_t(cy1 - cy0 + 1);
    for (int64_t j = 0; j < dw_; ++j) {
      const uint64_t area = rows * uint64_t(boxes_[size_t(j)].Width);
      out[3 * j] = out[3 * j + 1] = out[3 * j + 2] = Scale(counts_[size_t(j)], area);
    }
  }

 private:
  // 255 x count div area. All boxes but a clipped last one have one area, so
  // a table of that area replaces the division.
  uint8_t Scale(uint64_t count, uint64_t area) {
    if (area != tableArea_) {
      if (area > kMaxTable) return uint8_t(255 * count / area);
      tableArea_ = area;
      table_.resize(size_t(area + 1));
      for (uint64_t c = 0; c <= area; ++c) table_[size_t(c)] = uint8_t(255 * c / area);
    }
    return table_[size_t(count)];
  }

  static constexpr uint64_t kMaxTable = 1 << 16;

  TIE1BitRows s_;
  int64_t top_, sh_, dw_;
  double rx_, ry_;
  int64_t bw_, bh_;
  bool singles_ = false;
  std::vector<TColumnBox> boxes_;
  std::vector<uint32_t> counts_;
  uint64_t tableArea_ = 0;
  std::vector<uint8_t> table_;
};

// Runs the reduction; row i of the destination is at base + i * stride.
void Reduce(const TIE1BitRows& src, int64_t left, int64_t top, int64_t sw, int64_t sh, int64_t dw, int64_t dh,
            uint8_t* base, int64_t stride) {
  TReducer reducer(src, left, top, sw, sh, dw, dh);
  int64_t prev0 = -1, prev1 = -1;
  const uint8_t* prevRow = nullptr;
  for (int64_t i = 0; i < dh; ++i) {
    uint8_t* out = base + i * stride;
    int64_t cy0, cy1;
    reducer.RowsOf(i, cy0, cy1);
    if (prevRow && cy0 == prev0 && cy1 == prev1) {
      // Enlarging: consecutive rows with the same box are the same.
      std::memcpy(out, prevRow, size_t(3 * dw));
    } else {
      reducer.Row(cy0, cy1, out);
    }
    prev0 = cy0, prev1 = cy1, prevRow = out;
  }
}

}  // namespace

TIE1BitRows RowsOf(const TIEWorkingBitmap& bitmap) {
  TIE1BitRows r;
  if (bitmap.PixelFormat() != TIEPixelFormat::pf1bit || bitmap.Empty()) return r;
  r.Row0 = bitmap.ScanLine(0);
  r.Stride = bitmap.RowBytes();
  r.Width = bitmap.Width();
  r.Height = bitmap.Height();
  return r;
}

bool Reduce1BitToGrey(const TIE1BitRows& src, int64_t left, int64_t top, int64_t sw, int64_t sh,
                      TIEWorkingBitmap& dest, int64_t dw, int64_t dh) {
  if (!Valid(src, left, top, sw, sh, dw, dh)) return false;
  if (!dest.Resize(dw, dh, TIEPixelFormat::pf24bit)) return false;
  Reduce(src, left, top, sw, sh, dw, dh, dest.ScanLine(0), dest.RowBytes());
  dest.MarkModified();
  return true;
}

bool Reduce1BitToGrey(const TIEWorkingBitmap& src, int64_t left, int64_t top, int64_t sw, int64_t sh,
                      TIEWorkingBitmap& dest, int64_t dw, int64_t dh) {
  if (&src == &dest) return false;  // the destination is resized before the source is read
  return Reduce1BitToGrey(RowsOf(src), left, top, sw, sh, dest, dw, dh);
}

std::vector<uint8_t> Reduce1BitToGrey(const TIE1BitRows& src, int64_t left, int64_t top, int64_t sw,
                                      int64_t sh, int64_t dw, int64_t dh) {
  std::vector<uint8_t> block;
  if (!Valid(src, left, top, sw, sh, dw, dh)) return block;
  const int64_t rowBytes = RowLength(dw, 24);
  block.resize(size_t(rowBytes * dh));
  // Bottom-up: destination row 0 is the last row of the block.
  Reduce(src, left, top, sw, sh, dw, dh, block.data() + (dh - 1) * rowBytes, -rowBytes);
  return block;
}

std::vector<uint8_t> Reduce1BitToGrey(const TIEWorkingBitmap& src, int64_t left, int64_t top, int64_t sw,
                                      int64_t sh, int64_t dw, int64_t dh) {
  return Reduce1BitToGrey(RowsOf(src), left, top, sw, sh, dw, dh);
}

}  // namespace quillet
