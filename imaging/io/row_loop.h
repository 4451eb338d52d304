// The row loop of readers that decode one row at a time in file order:
// progress per row, cancel between rows, and white below the last row read
// when the data ends early or the user cancels.
#pragma once

#include <cstdint>

#include "imaging/io/codec.h"

namespace quillet {

// Row order of the file: top row first, or bottom row first.
enum class TRowOrder { roTopDown, roBottomUp };

// Calls decodeRow(y) for each bitmap row y in file order; decodeRow writes the
// row and returns false when the data ended inside it. A cancel keeps the rows
// done; data that ends early keeps them too and fails with `truncated`. The
// rows never reached are white.
template <class DecodeRow>
void ReadRows(TIOReadArgs& a, const char* truncated, TRowOrder order, DecodeRow&& decodeRow) {
  const int64_t height = a.Bitmap.Height();
  const bool up = order == TRowOrder::roBottomUp;
  const auto fillRest = [&](int64_t done) {
    if (up)
      a.Bitmap.FillRows(0, height - done, kWhite);
    else
      a.Bitmap.FillRows(done, height, kWhite);
  };
  for (int64_t i = 0; i < height; ++i) {
    a.Progress.Report(int(i * 100 / height));
    if (a.Progress.Aborted()) return fillRest(i);
    if (!decodeRow(up ? height - 1 - i : i)) {
      fillRest(i + 1);
      return a.Progress.Fail(truncated);
    }
  }
  a.Progress.Report(100);
}

}  // namespace quillet
