// Bilevel rows as lists of changing elements, the form the CCITT coders
// work on: the positions where the colour changes, white first, followed by
// sentinels at the row's width. Rows hold 1 for white, most significant bit first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillet {

using TChanges = std::vector<int32_t>;

constexpr int kChangeSentinels = 3;

// The changes of `row`, with the sentinels.
void RowToChanges(const uint8_t* row, int32_t width, TChanges& changes);
// The row of `count` changes (sentinels not counted): all white, black runs cleared.
void ChangesToRow(const TChanges& changes, size_t count, int32_t width, uint8_t* row);
// An all-white line: sentinels only.
void WhiteLine(int32_t width, TChanges& changes);

// Finds, left to right along one line, the first change right of a position
// whose colour is the opposite of `black` (b1 on the reference line, a1 on
// the coding line). Positions asked for never go back.
class TChangeFinder {
 public:
  explicit TChangeFinder(const TChanges& changes) : c_(changes) {}
  // The index of that change; the change after it is at index + 1.
  size_t Next(int32_t a0, bool black) {
    const int32_t end = c_.back();
    while (c_[k_] <= a0 && c_[k_] < end) ++k_;
    return k_ + ((k_ & 1) != size_t(black));
  }

 private:
  const TChanges& c_;
  size_t k_ = 0;
};

}  // namespace quillet
