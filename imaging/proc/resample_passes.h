// The two passes of the filtered resampling, shared by its colour, mask and
// 1-bit variants: rows across into a work image, then the work image down.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/math.h"
#include "imaging/proc/proc_progress.h"
#include "imaging/proc/resample_contributors.h"
#include "imaging/proc/resample_threads.h"

namespace quillet {

// How a weighted sum becomes a channel value: clamped to 0..255, then
// truncated (colour) or rounded with ties to even (mask, 1-bit). A sum whose
// exact value is whole may come out a hair below it, so truncation allows
// for that: a flat colour stays what it was.
struct TTruncSum {
  uint8_t operator()(double s) const { return uint8_t(std::clamp(int(s + 1e-9), 0, 255)); }
};
struct TRoundSum {
  uint8_t operator()(double s) const { return uint8_t(std::clamp<int64_t>(Round(s), 0, 255)); }
};

// Sizes of one run, and whether the source rows are 1-bit.
struct TResampleShape {
  int64_t SourceWidth, SourceHeight, DestWidth, DestHeight;
  bool SourceBits;
};

// Rows go across kAcrossRows at a time: their values at one source position
// lie side by side, so that every weight multiplies a whole group of
// independent sums.
constexpr int kAcrossRows = 4;

// Source rows first .. first + count - 1 reflected out to every position the
// lists use, as doubles: value c of row r at position p is at
// ((p * kAcrossRows) + r) * Channels + c. Missing rows of a last group are 0.
template <int Channels, class SourceRow>
void LoadRows(SourceRow sourceRow, int64_t first, int count, bool bits, const std::vector<int64_t>& positions,
              double* out) {
  constexpr int kLanes = kAcrossRows * Channels;
  for (int r = 0; r < kAcrossRows; ++r) {
    double* o = out + r * Channels;
    if (r >= count) {
      for (size_t p = 0; p < positions.size(); ++p, o += kLanes)
        for (int c = 0; c < Channels; ++c) o[c] = 0;
      continue;
    }
    const uint8_t* row = sourceRow(first + r);
    for (const int64_t x : positions) {
      if (bits)
        o[0] = GetBit(row, x) ? 255 : 0;
      else
        for (int c = 0; c < Channels; ++c) o[c] = row[x * Channels + c];
      o += kLanes;
    }
  }
}

// Destination pixels of a group of rows: weighted sums over runs of the
// loaded positions, each value's terms added in order of position.
template <int Channels, class Rule>
void FilterAcross(const TResampleContributors& cx, const double* loaded, int count, uint8_t* const* out,
                  Rule rule) {
  constexpr int kLanes = kAcrossRows * Channels;
  const int64_t* first = cx.First.data();
  const int64_t* left = cx.Left.data();
  const double* weight = cx.Weight.data();
  for (int64_t i = 0, n = cx.Size(); i < n; ++i) {
    const double* p = loaded + (left[i] - cx.Lowest) * kLanes;
    double sum[kLanes];
    for (int l = 0; l < kLanes; ++l) sum[l] = first[i] < first[i + 1] ? weight[first[i]] * p[l] : 0;
    p += kLanes;
    for (int64_t k = first[i] + 1; k < first[i + 1]; ++k, p += kLanes) {
      const double w = weight[k];
      for (int l = 0; l < kLanes; ++l) sum[l] += w * p[l];
    }
    for (int r = 0; r < count; ++r)
      for (int c = 0; c < Channels; ++c) out[r][i * Channels + c] = rule(sum[r * Channels + c]);
  }
}

// Destination row i: weighted sums of work rows, a block of values at a time
// so that the sums stay in the first-level cache.
template <int Copies, class Rule>
void FilterDown(const TResampleContributors& cy, int64_t i, const uint8_t* const* workRows, int64_t rowValues,
                uint8_t* out, Rule rule) {
  constexpr int64_t kBlock = 1024;
  double sum[kBlock];
  const int64_t first = cy.First[size_t(i)], count = cy.First[size_t(i) + 1] - first;
  const double* weight = cy.Weight.data() + first;
  const uint8_t* const* rows = workRows + (cy.Left[size_t(i)] - cy.Lowest);
  for (int64_t from = 0; from < rowValues; from += kBlock) {
    const int64_t n = std::min(kBlock, rowValues - from);
    const uint8_t* r0 = rows[0] + from;
    for (int64_t b = 0; b < n; ++b) sum[b] = count > 0 ? weight[0] * r0[b] : 0;
    for (int64_t k = 1; k < count; ++k) {
      const uint8_t* r = rows[k] + from;
      const double w = weight[k];
      for (int64_t b = 0; b < n; ++b) sum[b] += w * r[b];
    }
    uint8_t* o = out + from * Copies;
    for (int64_t b = 0; b < n; ++b)
      for (int c = 0; c < Copies; ++c) o[b * Copies + c] = rule(sum[b]);
  }
}

// The whole two-pass resampling, Channels values per pixel, each result value
// written Copies times (a grey channel into 24-bit rows: 3). sourceRow(y) and
// destRow(i) give the rows; progress counts the source rows, then the
// destination columns. Rows of each pass run on several threads.
template <int Channels, int Copies, class Rule, class SourceRow, class DestRow>
void ResampleTwoPass(const TResampleShape& shape, TResampleFilter filter, SourceRow sourceRow, DestRow destRow,
                     Rule rule, const TIEProcProgress& progress) {
  const TResampleContributors cx = BuildContributors(shape.SourceWidth, shape.DestWidth, filter);
  const TResampleContributors cy = BuildContributors(shape.SourceHeight, shape.DestHeight, filter);
  TIEStepProgress steps(progress, double(shape.SourceHeight + shape.DestWidth) + 0.5);
  const auto reflected = [](const TResampleContributors& c, int64_t size) {
    std::vector<int64_t> positions;
    for (int64_t j = c.Lowest; j <= c.Highest; ++j) positions.push_back(ReflectedSource(j, size));
    return positions;
  };
  const std::vector<int64_t> columns = reflected(cx, shape.SourceWidth), rows = reflected(cy, shape.SourceHeight);

  const int64_t workValues = shape.DestWidth * Channels;
  const auto work = std::make_unique_for_overwrite<uint8_t[]>(size_t(workValues * shape.SourceHeight));
  const int64_t groups = (shape.SourceHeight + kAcrossRows - 1) / kAcrossRows;
  const int64_t acrossWork = (int64_t(cx.Weight.size()) + shape.SourceWidth) * Channels * kAcrossRows;
  const auto acrossProgress = [&](int64_t done) { steps.Report(std::min(done * kAcrossRows, shape.SourceHeight)); };
  SplitItems(groups, acrossWork, acrossProgress, [&](int64_t firstGroup, int64_t lastGroup, auto&& done) {
    std::vector<double> loaded(columns.size() * kAcrossRows * Channels);
    for (int64_t g = firstGroup; g < lastGroup; ++g) {
      const int64_t y = g * kAcrossRows;
      const int count = int(std::min<int64_t>(kAcrossRows, shape.SourceHeight - y));
      uint8_t* out[kAcrossRows];
      for (int r = 0; r < kAcrossRows; ++r) out[r] = work.get() + (y + std::min(r, count - 1)) * workValues;
      LoadRows<Channels>(sourceRow, y, count, shape.SourceBits, columns, loaded.data());
      FilterAcross<Channels>(cx, loaded.data(), count, out, rule);
      done(1);
    }
  });

  std::vector<const uint8_t*> workRows;
  for (const int64_t y : rows) workRows.push_back(work.get() + y * workValues);
  const int64_t downWork = workValues * (int64_t(cy.Weight.size()) / shape.DestHeight + 1);
  const auto downProgress = [&](int64_t done) {
    steps.Report(shape.SourceHeight + done * shape.DestWidth / shape.DestHeight);
  };
  SplitItems(shape.DestHeight, downWork, downProgress, [&](int64_t first, int64_t last, auto&& done) {
    for (int64_t i = first; i < last; ++i) {
      FilterDown<Copies>(cy, i, workRows.data(), workValues, destRow(i), rule);
      done(1);
    }
  });
}

}  // namespace quillet
