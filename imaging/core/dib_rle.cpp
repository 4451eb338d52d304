// RLE8/RLE4 decoding (runs, literals, end of line, end of bitmap, delta) and
// the row encoder.
#include "imaging/core/dib_rle.h"

#include <algorithm>
#include <vector>

namespace quillet {

namespace {

class TRleCursor {
 public:
  TRleCursor(TIEWorkingBitmap& bitmap, const TPaletteTable& palette)
      : bitmap_(bitmap), colors_(palette.Colors.data()) {}

  // `count` pixels from the cursor to the right, pixel k taking palette index
  // index(k) (below 256); what falls outside the image is skipped.
  template <class TIndex>
  void Put(int64_t count, TIndex index) {
    const int64_t inside = PastTop() ? 0 : std::clamp<int64_t>(bitmap_.Width() - x_, 0, count);
    uint8_t* p = bitmap_.ScanLine(bitmap_.Height() - 1 - row_) + 3 * x_;
    for (int64_t k = 0; k < inside; ++k, p += 3) {
      const TBGR c = colors_[index(k)];
      p[0] = c.b, p[1] = c.g, p[2] = c.r;
    }
    x_ += count;
  }
  void NextLine() { ++row_, x_ = 0; }
  void Move(int dx, int dy) { x_ += dx, row_ += dy; }
  bool PastTop() const { return row_ >= bitmap_.Height(); }
  int64_t Row() const { return row_; }

 private:
  TIEWorkingBitmap& bitmap_;
  const TBGR* colors_;
  int64_t x_ = 0, row_ = 0;
};

}  // namespace

TDibRleResult DecodeDibRle(const uint8_t* data, int64_t size, int bits, const TPaletteTable& palette,
                           TIEWorkingBitmap& bitmap, const TDibRleRowEvent& onRow) {
  TRleCursor cursor(bitmap, palette);
  int64_t i = 0;
  while (i + 2 <= size) {
    const unsigned count = data[i], value = data[i + 1];
    i += 2;
    if (count > 0) {
      if (bits == 8)
        cursor.Put(count, [value](int64_t) { return value; });
      else
        cursor.Put(count, [value](int64_t k) { return (k & 1) ? value & 15 : value >> 4; });
      continue;
    }
    if (value == 0) {
      cursor.NextLine();
      const bool goOn = !onRow || onRow(cursor.Row());
      if (cursor.PastTop()) return TDibRleResult::rlrComplete;
      if (!goOn) return TDibRleResult::rlrCancelled;
    } else if (value == 1) {
      return TDibRleResult::rlrComplete;
    } else if (value == 2) {
      if (i + 2 > size) break;
      cursor.Move(data[i], data[i + 1]);
      i += 2;
      if (cursor.PastTop()) return TDibRleResult::rlrComplete;
    } else {
      const int64_t bytes = bits == 8 ? value : (value + 1) / 2;
      if (i + bytes > size) break;
      const uint8_t* p = data + i;
      if (bits == 8)
        cursor.Put(value, [p](int64_t k) { return p[k]; });
      else
        cursor.Put(value, [p](int64_t k) { return (k & 1) ? p[k / 2] & 15 : p[k / 2] >> 4; });
      i += bytes + (bytes & 1);
    }
  }
  return TDibRleResult::rlrTruncated;
}

namespace {

constexpr int64_t kMaxRun = 255;

// A run of `count` pixels of one index; RLE4 repeats the index in both nibbles.
void PutRun(int64_t count, uint8_t index, int bits, std::vector<uint8_t>& out) {
  out.push_back(uint8_t(count));
  out.push_back(bits == 8 ? index : uint8_t(index << 4 | index));
}

// Up to 255 pixels that do not repeat. One or two pixels cost less as runs
// than as an escape with its padding.
void PutLiterals(const uint8_t* p, int64_t count, int bits, std::vector<uint8_t>& out) {
  if (count == 0) return;
  if (count == 1) {
    out.push_back(1);
    out.push_back(bits == 8 ? p[0] : uint8_t(p[0] << 4));
    return;
  }
  if (count == 2) {
    if (bits == 8) {
      PutRun(1, p[0], bits, out);
      PutRun(1, p[1], bits, out);
    } else {
      out.push_back(2);
      out.push_back(uint8_t(p[0] << 4 | p[1]));
    }
    return;
  }
  out.push_back(0);
  out.push_back(uint8_t(count));
  const size_t first = out.size();
  if (bits == 8) {
    out.insert(out.end(), p, p + count);
  } else {
    for (int64_t i = 0; i < count; i += 2) out.push_back(uint8_t(p[i] << 4 | (i + 1 < count ? p[i + 1] : 0)));
  }
  if ((out.size() - first) & 1) out.push_back(0);  // escapes end on a 16-bit boundary
}

}  // namespace

void EncodeDibRleRow(const uint8_t* indices, int64_t count, int bits, std::vector<uint8_t>& out) {
  int64_t literalStart = 0, x = 0;
  while (x < count) {
    if (x + 1 < count && indices[x] == indices[x + 1]) {
      PutLiterals(indices + literalStart, x - literalStart, bits, out);
      int64_t run = 2;
      while (run < kMaxRun && x + run < count && indices[x + run] == indices[x]) ++run;
      PutRun(run, indices[x], bits, out);
      x += run;
      literalStart = x;
      continue;
    }
    ++x;
    if (x - literalStart == kMaxRun) {
      PutLiterals(indices + literalStart, kMaxRun, bits, out);
      literalStart = x;
    }
  }
  PutLiterals(indices + literalStart, x - literalStart, bits, out);
  out.push_back(0);
  out.push_back(0);
}

}  // namespace quillet
