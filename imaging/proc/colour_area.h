// The rectangle the colour and effect functions work on, their progress, and the row
// runner the colour functions share: rows split between the cores, progress on the calling
// thread after each row, and a stop at the next row once Aborting is set.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/proc_progress.h"
#include "imaging/proc/proc_rows.h"

namespace quillet {

// [X1, X2) x [Y1, Y2) of an image; the default is the whole image.
struct TIEArea {
  int64_t X1 = 0, Y1 = 0;
  int64_t X2 = std::numeric_limits<int64_t>::max(), Y2 = std::numeric_limits<int64_t>::max();

  // Limited to the image.
  TIEArea ClampedTo(const TIEWorkingBitmap& image) const {
    return {std::max<int64_t>(X1, 0), std::max<int64_t>(Y1, 0), std::min(X2, image.Width()),
            std::min(Y2, image.Height())};
  }
  bool Empty() const { return X1 >= X2 || Y1 >= Y2; }
  int64_t Width() const { return X2 - X1; }
  int64_t Height() const { return Y2 - Y1; }
};

// The area limited to a 24-bit image, or nothing when it is empty or the
// image has another format.
inline std::optional<TIEArea> Area24(const TIEWorkingBitmap& image, const TIEArea& area) {
  const TIEArea clamped = area.ClampedTo(image);
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || clamped.Empty()) return std::nullopt;
  return clamped;
}

// row(y) for every row y of [top, bottom), each row on one thread; after
// each row per = trunc(rows done * 100 / denominator). Returns false when
// the abort flag is set: the rows after it was seen were not run.
template <class Row>
bool RunAreaRows(int64_t top, int64_t bottom, int64_t bytesPerRow, double denominator, const TIEProcWatch& watch,
                 Row row) {
  TIEProcRows rows(watch, denominator);
  return rows.Run(bottom - top, bytesPerRow, [&](int64_t first, int64_t last, auto&& next) {
    for (int64_t y = first; y < last; ++y) {
      row(top + y);
      if (!next()) return;
    }
  });
}

// The rows of an area with the area functions' formula:
// per = trunc((y - top + 1) * 100 / (bottom - top - 1 + 0.5)).
template <class Row>
bool RunAreaRows(const TIEArea& area, const TIEProcWatch& watch, Row row) {
  return RunAreaRows(area.Y1, area.Y2, 3 * area.Width(), double(area.Height()) - 0.5, watch, row);
}

}  // namespace quillet
