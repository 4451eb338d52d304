#include "imaging/view/magic_wand.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/core/bits.h"
#include "imaging/core/span_flood.h"

namespace quillet {

bool WandMatches(const uint8_t* pixel, const uint8_t* seed, int tolerance) {
  return std::abs(pixel[0] - seed[0]) <= tolerance && std::abs(pixel[1] - seed[1]) <= tolerance &&
         std::abs(pixel[2] - seed[2]) <= tolerance;
}

namespace {

struct TBox {
  int64_t x1 = INT64_MAX, y1 = INT64_MAX, x2 = -1, y2 = -1;
  void Add(int64_t l, int64_t y, int64_t r) {
    x1 = std::min(x1, l), x2 = std::max(x2, r), y1 = std::min(y1, y), y2 = std::max(y2, y);
  }
  void ApplyTo(TIEMask& mask) const {
    if (x2 >= 0) mask.SetBox(x1, y1, x2, y2);
  }
};

// Starts from what the mask already holds (adding to a selection).
TBox BoxOf(const TIEMask& mask) {
  TBox box;
  if (!mask.IsEmpty()) box = {mask.X1(), mask.Y1(), mask.X2(), mask.Y2()};
  return box;
}

// The flood's test: a pixel is taken when it matches and is not set yet.
class TFlood {
 public:
  TFlood(const TIEWorkingBitmap& image, const uint8_t* seed, int tolerance, TIEMask& mask)
      : image_(image), seed_{seed[0], seed[1], seed[2]}, tolerance_(tolerance), mask_(mask) {}

  bool Takes(int64_t x, int64_t y) const {
    return !GetBit(mask_.ScanLine(y), x) && WandMatches(image_.ScanLine(y) + 3 * x, seed_, tolerance_);
  }

  void Run(int64_t x, int64_t y, TBox& box) {
    SpanFlood(image_.Width(), image_.Height(), x, y, [this](int64_t px, int64_t py) { return Takes(px, py); },
              [&](int64_t py, int64_t l, int64_t r) {
                mask_.FillSpan(1, l, py, r);
                box.Add(l, py, r);
              });
  }

 private:
  const TIEWorkingBitmap& image_;
  const uint8_t seed_[3];
  int tolerance_;
  TIEMask& mask_;
};

// One pixel more to each side of every set bit of a 1-bit row (MSB first).
void DilateRow(const uint8_t* src, uint8_t* dst, int64_t bytes) {
  for (int64_t i = 0; i < bytes; ++i) {
    const unsigned prev = i > 0 ? src[i - 1] : 0, next = i + 1 < bytes ? src[i + 1] : 0;
    dst[i] = uint8_t(src[i] | src[i] >> 1 | prev << 7 | src[i] << 1 | next >> 7);
  }
}

// Eight-neighbour growth of the set pixels, the box one pixel wider.
void Grow(TIEMask& mask) {
  if (mask.IsEmpty()) return;
  const int64_t w = mask.Width(), h = mask.Height(), bytes = (w + 7) / 8;
  std::vector<uint8_t> rows(size_t(bytes * h));
  for (int64_t y = 0; y < h; ++y) DilateRow(mask.ScanLine(y), rows.data() + y * bytes, bytes);
  const uint8_t tail = uint8_t(0xff00 >> (w % 8 ? w % 8 : 8));
  for (int64_t y = 0; y < h; ++y) {
    uint8_t* out = mask.ScanLine(y);
    for (int64_t i = 0; i < bytes; ++i) {
      uint8_t v = rows[size_t(y * bytes + i)];
      if (y > 0) v |= rows[size_t((y - 1) * bytes + i)];
      if (y + 1 < h) v |= rows[size_t((y + 1) * bytes + i)];
      out[i] = v;
    }
    out[bytes - 1] &= tail;
  }
  mask.SetBox(mask.X1() - 1, mask.Y1() - 1, mask.X2() + 1, mask.Y2() + 1);
}

bool Inside(const TIEWorkingBitmap& image, int32_t x, int32_t y) {
  return image.PixelFormat() == TIEPixelFormat::pf24bit && x >= 0 && y >= 0 && x < image.Width() &&
         y < image.Height();
}

}  // namespace

void WandFlood(const TIEWorkingBitmap& image, int32_t x, int32_t y, int tolerance, bool grow, TIEMask& mask) {
  if (!Inside(image, x, y)) return;
  TFlood flood(image, image.ScanLine(y) + 3 * int64_t(x), tolerance, mask);
  TBox box = BoxOf(mask);
  flood.Run(x, y, box);
  box.ApplyTo(mask);
  if (grow) Grow(mask);
}

void WandGlobal(const TIEWorkingBitmap& image, int32_t x, int32_t y, int tolerance, TIEMask& mask) {
  if (!Inside(image, x, y)) return;
  const uint8_t* s = image.ScanLine(y) + 3 * int64_t(x);
  const uint8_t seed[3] = {s[0], s[1], s[2]};
  TBox box = BoxOf(mask);
  for (int64_t row = 0; row < image.Height(); ++row) {
    const uint8_t* p = image.ScanLine(row);
    for (int64_t col = 0; col < image.Width(); ++col) {
      if (!WandMatches(p + 3 * col, seed, tolerance)) continue;
      const int64_t from = col;
      while (col + 1 < image.Width() && WandMatches(p + 3 * (col + 1), seed, tolerance)) ++col;
      mask.FillSpan(1, from, row, col);
      box.Add(from, row, col);
    }
  }
  box.ApplyTo(mask);
}

namespace {

// Boundary following along pixel edges, the area on the right of the way:
// the same path as tracing the border of the area enlarged four times, with
// the vertices already divided by four.
class TTracer {
 public:
  explicit TTracer(const TIEMask& area) : area_(area) {}

  std::vector<TIEPoint> Trace() const {
    std::vector<TIEPoint> out;
    if (area_.IsEmpty()) return out;
    const TIEPoint start = TopLeftPixel();
    TIEPoint at = start;
    int heading = 3;  // as if we had come up the left side
    for (;;) {
      const int next = NextHeading(at, heading);
      if (next != heading) {
        if (!out.empty() && at == start) break;
        out.push_back(at);
      }
      heading = next;
      at = {at.X + kStep[heading][0], at.Y + kStep[heading][1]};
    }
    return out;
  }

 private:
  static constexpr int kStep[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};  // right, down, left, up

  bool Set(int64_t x, int64_t y) const { return area_.GetPixel(x, y) != 0; }

  // The edge leaving corner `at` in direction d has the area on its right and not on its left.
  bool Boundary(TIEPoint at, int d) const {
    static constexpr int kRight[4][2] = {{0, 0}, {-1, 0}, {-1, -1}, {0, -1}};
    static constexpr int kLeft[4][2] = {{0, -1}, {0, 0}, {-1, 0}, {-1, -1}};
    return Set(at.X + kRight[d][0], at.Y + kRight[d][1]) && !Set(at.X + kLeft[d][0], at.Y + kLeft[d][1]);
  }

  // Left turn first, so that pixels touching at a corner stay in one outline.
  int NextHeading(TIEPoint at, int heading) const {
    for (const int turn : {3, 0, 1, 2}) {
      const int d = (heading + turn) % 4;
      if (Boundary(at, d)) return d;
    }
    return heading;  // a lone corner cannot happen on a closed boundary
  }

  TIEPoint TopLeftPixel() const {
    for (int32_t x = area_.X1(); x <= area_.X2(); ++x)
      if (Set(x, area_.Y1())) return {x, area_.Y1()};
    return {area_.X1(), area_.Y1()};
  }

  const TIEMask& area_;
};

}  // namespace

std::vector<TIEPoint> WandOutline(const TIEMask& area) { return TTracer(area).Trace(); }

}  // namespace quillet
