// Polygon scan conversion into a TIEMask: edges stepped down the rows with
// an integer error term, their crossings marked in bands of rows, even-odd
// parity along each row giving the inside.
#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>
#include <vector>

#include "imaging/core/mask.h"

namespace quillet {

namespace {

// A non-horizontal edge, active on the scanlines yTop .. yBottom - 1. Its x on
// the current scanline is x + error / dy, with 0 <= error < dy.
struct Edge {
  int64_t yTop, yBottom;
  int64_t x, error, dy;
  int64_t stepX, stepError;  // floor(dx / dy) and dx mod dy
};

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

Edge MakeEdge(const TIEPoint& a, const TIEPoint& b) {
  const TIEPoint& top = a.Y < b.Y ? a : b;
  const TIEPoint& bottom = a.Y < b.Y ? b : a;
  Edge e{};
  e.yTop = top.Y;
  e.yBottom = bottom.Y;
  e.x = top.X;
  e.dy = e.yBottom - e.yTop;
  const int64_t dx = int64_t(bottom.X) - top.X;
  e.stepX = FloorDiv(dx, e.dy);
  e.stepError = dx - e.stepX * e.dy;
  return e;
}

// Moves an edge down by n scanlines at once, for edges that start above the
// plane; the products can pass 64 bits for vertices far outside it.
void Advance(Edge& e, int64_t n) {
  const __int128 total = __int128(e.stepError) * n + e.error;
  e.x += int64_t(__int128(e.stepX) * n + total / e.dy);
  e.error = int64_t(total % e.dy);
}

// Without a branch: whether the error term wraps follows the slope, which
// no predictor guesses.
void Step(Edge& e) {
  e.error += e.stepError;
  const bool wraps = e.error >= e.dy;
  e.x += e.stepX + wraps;
  e.error -= wraps ? e.dy : 0;
}

// Rows are read and written as 64-bit words byte-swapped into row order.
static_assert(std::endian::native == std::endian::little);

constexpr int64_t kBandRows = 16;

// Crossings of a band of rows as 64-bit words, pixel x at bit 63 - x % 64 of
// word x / 64: every edge toggles the bit where it crosses a row, and the
// running parity along the row is then the even-odd inside.
class TCrossings {
 public:
  TCrossings(int64_t width) : width_(width), words_((width + 63) / 64), bits_(size_t(kBandRows * words_), 0) {}

  int64_t Words() const { return words_; }
  uint64_t* Row(int64_t i) { return bits_.data() + i * words_; }

  // The edge's crossings with rows first .. last - 1 (band row 0 is `top`).
  // A crossing left of the plane counts at column 0, one right of it never.
  // The edge is stepped in a local copy: the row writes cannot alias it.
  void Walk(Edge& edge, int64_t first, int64_t last, int64_t top) {
    Edge e = edge;
    uint64_t* row = Row(first - top);
    for (int64_t y = first; y < last; ++y, Step(e), row += words_) {
      const int64_t x = std::max<int64_t>(e.x, 0);
      if (x < width_) row[x >> 6] ^= uint64_t(1) << (63 - (x & 63));
    }
    edge = e;
  }

  // Turns band row i into its inside pixels, in place, bits past the width
  // clear.
  void Resolve(int64_t i) {
    uint64_t* w = Row(i);
    uint64_t carry = 0;
    for (int64_t k = 0; k < words_; ++k) {
      uint64_t v = w[k];
      v ^= v >> 1;
      v ^= v >> 2;
      v ^= v >> 4;
      v ^= v >> 8;
      v ^= v >> 16;
      v ^= v >> 32;
      v ^= carry;
      carry = uint64_t(0) - (v & 1);
      w[k] = v;
    }
    if (width_ & 63) w[words_ - 1] &= ~uint64_t(0) << (64 - (width_ & 63));
  }

 private:
  int64_t width_, words_;
  std::vector<uint64_t> bits_;
};

// Puts the inside pixels of one resolved row into a plane row of 1 or 8 bits
// and clears the crossings for the next band. Returns the first and last
// inside column, or -1, -1.
std::pair<int64_t, int64_t> FillInside(uint8_t* row, int bits, int64_t rowLength, uint8_t value, uint64_t* inside,
                                       int64_t words) {
  int64_t first = -1, last = -1;
  for (int64_t k = 0; k < words; ++k) {
    const uint64_t v = inside[k];
    if (v == 0) continue;
    inside[k] = 0;
    if (first < 0) first = 64 * k + std::countl_zero(v);
    last = 64 * k + 63 - std::countr_zero(v);
    if (bits == 8) {
      for (uint64_t rest = v; rest != 0;) {
        const int from = std::countl_zero(rest);
        const int run = std::countl_one(uint64_t(rest << from));
        std::memset(row + 64 * k + from, value, size_t(run));
        rest &= from + run >= 64 ? 0 : ~uint64_t(0) >> (from + run);
      }
      continue;
    }
    // 1 bit: the word byte-swapped has its pixels in row order; the row may
    // end half-way through the last word.
    const uint64_t inOrder = __builtin_bswap64(v);
    uint64_t bits = 0;
    if (8 * k + 8 <= rowLength) {
      std::memcpy(&bits, row + 8 * k, 8);
      bits = value != 0 ? bits | inOrder : bits & ~inOrder;
      std::memcpy(row + 8 * k, &bits, 8);
    } else {
      std::memcpy(&bits, row + 8 * k, 4);
      bits = value != 0 ? bits | inOrder : bits & ~inOrder;
      std::memcpy(row + 8 * k, &bits, 4);
    }
  }
  return {first, last};
}

}  // namespace

void TIEMask::FillPolygon(uint8_t value, const TIEPoint* points, int64_t count) {
  if (!points || count < 3 || data_.empty()) return;
  // Only the scanlines of the plane are converted.
  std::vector<Edge> edges;
  edges.reserve(size_t(count));
  for (int64_t i = 0; i < count; ++i) {
    const TIEPoint& a = points[i];
    const TIEPoint& b = points[(i + 1) % count];
    if (a.Y == b.Y) continue;
    Edge e = MakeEdge(a, b);
    if (e.yBottom <= 0 || e.yTop >= height_) continue;
    if (e.yTop < 0) {
      Advance(e, -e.yTop);
      e.yTop = 0;
    }
    edges.push_back(e);
  }
  if (edges.empty()) return;
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.yTop < b.yTop; });

  TCrossings crossings(width_);
  std::vector<Edge*> active;
  size_t next = 0;
  int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = -1, maxY = -1;
  for (int64_t top = edges.front().yTop; top < height_ && (next < edges.size() || !active.empty());
       top += kBandRows) {
    const int64_t bottom = std::min<int64_t>(top + kBandRows, height_);
    for (; next < edges.size() && edges[next].yTop < bottom; ++next) active.push_back(&edges[next]);
    for (Edge* e : active) crossings.Walk(*e, std::max(e->yTop, top), std::min(e->yBottom, bottom), top);
    std::erase_if(active, [&](const Edge* e) { return e->yBottom <= bottom; });
    for (int64_t y = top; y < bottom; ++y) {
      crossings.Resolve(y - top);
      const auto [left, right] =
          FillInside(ScanLine(y), bits_, rowLength_, value, crossings.Row(y - top), crossings.Words());
      if (left < 0) continue;
      minX = std::min(minX, left);
      maxX = std::max(maxX, right);
      if (minY < 0) minY = y;
      maxY = y;
    }
  }
  if (minY < 0) return;
  NoteWritten(value);
  if (value != 0) GrowBox(minX, minY, maxX, maxY);
}

void TIEMask::SetPolygon(uint8_t value, const TIEPoint* points, int64_t count) {
  Clear();
  if (!points) return;
  int64_t start = 0;
  for (int64_t i = 0; i <= count; ++i) {
    if (i < count && points[i].X != kPolygonBreak) continue;
    FillPolygon(value, points + start, i - start);
    start = i + 1;
  }
}

}  // namespace quillet
