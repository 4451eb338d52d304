// Runs a row operation over rows [0, count) of an image, the rows shared
// between the cores. The operation computes each row the same way on any
// thread, so the result does not depend on the split.
#pragma once

#include <cstdint>
#include <functional>

#include "imaging/proc/resample_threads.h"

namespace quillet {

// rows(first, last) handles rows [first, last); `bytesPerRow` sizes the work
// so that small images stay on the calling thread. progress(rows finished)
// runs on the calling thread only.
template <class Rows>
void SplitRows(int64_t count, int64_t bytesPerRow, Rows rows, const std::function<void(int64_t)>& progress = {}) {
  // A block of rows between progress reports.
  constexpr int64_t kBlock = 16;
  SplitItems(count, bytesPerRow, progress, [&](int64_t first, int64_t last, auto&& done) {
    for (int64_t y = first; y < last; y += kBlock) {
      const int64_t end = y + kBlock < last ? y + kBlock : last;
      rows(y, end);
      done(end - y);
    }
  });
}

}  // namespace quillet
