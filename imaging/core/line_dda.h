// The points of a straight line, start included and end excluded: point i of
// n = max(|dx|, |dy|) is (x1 + sx*floor((2i|dx| + n - 1) / 2n), likewise y),
// so halves round toward the start and equal ends give no point. Exact for
// any 32-bit ends; clipping finds the run of indices inside a rectangle
// without walking the points outside it.
#pragma once

#include <cstdint>
#include <utility>

namespace quillet {

class TLineDDA {
 public:
  TLineDDA(int64_t x1, int64_t y1, int64_t x2, int64_t y2);

  int64_t Count() const { return n_; }
  int64_t X(int64_t i) const { return x1_ + sx_ * Step(i, adx_); }
  int64_t Y(int64_t i) const { return y1_ + sy_ * Step(i, ady_); }

  // The indices [first, last) of the points inside [left, right) x [top,
  // bottom); the points move monotonically, so they form one run.
  std::pair<int64_t, int64_t> Within(int64_t left, int64_t top, int64_t right, int64_t bottom) const;

  // Calls point(x, y) for the indices [from, to) in order.
  template <class F>
  void ForEach(int64_t from, int64_t to, F&& point) const {
    if (from >= to) return;
    TAxis x = Start(from, adx_), y = Start(from, ady_);
    for (int64_t i = from; i < to; ++i) {
      point(x1_ + sx_ * x.q, y1_ + sy_ * y.q);
      Advance(x, adx_);
      Advance(y, ady_);
    }
  }

 private:
  // floor((2i*d + n - 1) / 2n) as quotient q and remainder r.
  struct TAxis {
    int64_t q, r;
  };
  int64_t Step(int64_t i, int64_t d) const { return Start(i, d).q; }
  TAxis Start(int64_t i, int64_t d) const;
  // Branch-free: the minor axis wraps at no predictable rhythm.
  void Advance(TAxis& a, int64_t d) const {
    a.r += 2 * d;
    const int64_t wrap = a.r >= 2 * n_;  // 2d <= 2n: one wrap at most
    a.q += wrap;
    a.r -= wrap * 2 * n_;
  }
  // The indices [first, last) whose coordinate start + s*Step(i, d) is in [lo, hi).
  std::pair<int64_t, int64_t> AxisRun(int64_t start, int64_t s, int64_t d, int64_t lo, int64_t hi) const;

  int64_t x1_, y1_, sx_, sy_, adx_, ady_, n_;
};

// Calls point(x, y) for every point of the line from (x1, y1) to (x2, y2).
template <class F>
void LineDDA(int64_t x1, int64_t y1, int64_t x2, int64_t y2, F&& point) {
  const TLineDDA line(x1, y1, x2, y2);
  line.ForEach(0, line.Count(), point);
}

}  // namespace quillet
