// Column spans [Left, Right) and a band of rows holding up to two of them per
// row: the shape figures are drawn from.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quillet {

struct TSpan {
  int64_t Left = 0, Right = 0;
  bool Empty() const { return Left >= Right; }
};

// Rows [First, First + count) with spans A and B each (empty when unused);
// rows outside the band hold nothing.
class TRowSpans {
 public:
  struct TRow {
    TSpan A, B;
  };

  void Reset(int64_t first, int64_t last) {
    first_ = first;
    rows_.assign(size_t(std::max<int64_t>(last - first, 0)), TRow{});
  }
  int64_t First() const { return first_; }
  int64_t Last() const { return first_ + int64_t(rows_.size()); }
  bool Has(int64_t y) const { return y >= First() && y < Last(); }
  TRow& operator[](int64_t y) { return rows_[size_t(y - first_)]; }
  const TRow& At(int64_t y) const {
    static const TRow kNone{};
    return Has(y) ? rows_[size_t(y - first_)] : kNone;
  }

 private:
  int64_t first_ = 0;
  std::vector<TRow> rows_;
};

}  // namespace quillet
