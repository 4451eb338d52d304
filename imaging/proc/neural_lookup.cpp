// The green order and index of the palette, the outward search, and the
// candidate lists per colour cell.
#include "imaging/proc/neural_lookup.h"

#include <span>
#include <utility>
#include <vector>

namespace quillet {

// A cube of colours: levels lo[c]..lo[c] + size - 1 of channel c (blue,
// green, red).
struct TIENeuralLookup::TCell {
  std::array<int, 3> lo;
  int size;

  static TCell At(size_t cell, int shift) {
    const int bits = 8 - shift, mask = (1 << bits) - 1;
    return TCell{{int(cell) & mask, int(cell >> bits) & mask, int(cell >> 2 * bits) & mask}, 1 << shift}.Scaled(shift);
  }
  TCell Scaled(int shift) const { return TCell{{lo[0] << shift, lo[1] << shift, lo[2] << shift}, size}; }
  int Hi(int c) const { return lo[size_t(c)] + size - 1; }
};

TIENeuralLookup::TIENeuralLookup(std::span<const TBGR> palette) : n_(int(palette.size())) {
  sorted_.resize(palette.size());
  for (size_t i = 0; i < palette.size(); ++i) sorted_[i] = TNeuron{palette[i].b, palette[i].g, palette[i].r, int(i)};
  SortByGreen();
  BuildCells();
}

// Selection sort by green (the first smallest moves to the front), then the
// first position to search for every green value.
void TIENeuralLookup::SortByGreen() {
  int prev = 0, start = 0;
  for (int i = 0; i < n_; ++i) {
    int small = i;
    for (int j = i + 1; j < n_; ++j)
      if (sorted_[size_t(j)].g < sorted_[size_t(small)].g) small = j;
    std::swap(sorted_[size_t(i)], sorted_[size_t(small)]);
    const int g = sorted_[size_t(i)].g;
    if (g == prev) continue;
    greenIndex_[size_t(prev)] = (start + i) >> 1;
    for (int v = prev + 1; v < g; ++v) greenIndex_[size_t(v)] = i;
    prev = g, start = i;
  }
  greenIndex_[size_t(prev)] = (start + n_ - 1) >> 1;
  for (int v = prev + 1; v < 256; ++v) greenIndex_[size_t(v)] = n_ - 1;
}

// The L1 distance from `p` to the farthest colour of the cell.
int TIENeuralLookup::Farthest(const TNeuron& p, const TCell& cell) {
  int d = 0;
  for (int c = 0; c < 3; ++c) d += std::max(p.Channel(c) - cell.lo[size_t(c)], cell.Hi(c) - p.Channel(c));
  return d;
}

// True when `q` is strictly closer than `p` to every colour of the cell. Per
// channel, |p - x| - |q - x| is monotone in x, so the smallest difference of
// the distances over the cell is the sum of its values at one end of each
// channel's range.
bool TIENeuralLookup::Dominates(const TNeuron& q, const TNeuron& p, const TCell& cell) {
  int margin = 0;
  for (int c = 0; c < 3; ++c) {
    const int x = p.Channel(c) <= q.Channel(c) ? cell.lo[size_t(c)] : cell.Hi(c);
    margin += std::abs(p.Channel(c) - x) - std::abs(q.Channel(c) - x);
  }
  return margin > 0;
}

// Keeps of `positions` those entries that no single entry beats throughout
// the cell; the one nearest to the cell's farthest colour is the judge. An
// entry that can tie at the smallest distance stays: it may win by search
// order.
void TIENeuralLookup::Filter(const TCell& cell, std::span<const uint8_t> positions, std::vector<uint8_t>& kept) const {
  int bound = INT32_MAX;
  const TNeuron* judge = nullptr;
  for (uint8_t pos : positions) {
    const int d = Farthest(sorted_[pos], cell);
    if (d < bound) bound = d, judge = &sorted_[pos];
  }
  for (uint8_t pos : positions)
    if (!Dominates(*judge, sorted_[pos], cell)) kept.push_back(pos);
}

// Coarse cells of twice the size first, over every entry; each cell then
// filters its coarse cell's entries, which include all that can win in it.
void TIENeuralLookup::BuildCells() {
  constexpr int kCoarseShift = kCellShift + 1;
  constexpr size_t kCoarseCells = size_t(1) << 3 * (8 - kCoarseShift), kCells = size_t(1) << 3 * kCellBits;
  std::vector<uint8_t> all(sorted_.size()), coarse;
  for (size_t i = 0; i < all.size(); ++i) all[i] = uint8_t(i);
  std::vector<uint32_t> coarseStart;
  for (size_t c = 0; c < kCoarseCells; ++c) {
    coarseStart.push_back(uint32_t(coarse.size()));
    Filter(TCell::At(c, kCoarseShift), all, coarse);
  }
  coarseStart.push_back(uint32_t(coarse.size()));
  std::vector<uint8_t> kept;
  for (size_t c = 0; c < kCells; ++c) {
    const TCell cell = TCell::At(c, kCellShift);
    const size_t parent = CellIndex(cell.lo[2], cell.lo[1], cell.lo[0], kCoarseShift);
    kept.clear();
    Filter(cell, std::span(coarse).subspan(coarseStart[parent], coarseStart[parent + 1] - coarseStart[parent]), kept);
    cellStart_.push_back(uint32_t(candidates_.size()));
    for (uint8_t pos : kept) {
      const TNeuron& p = sorted_[pos];
      candidates_.push_back(TCandidate{int16_t(p.b), int16_t(p.g), int16_t(p.r), pos, uint8_t(p.index)});
    }
  }
  cellStart_.push_back(uint32_t(candidates_.size()));
}

void TIENeuralLookup::MapRow(const uint8_t* bgr, int64_t count, uint8_t* indices, TIEColorIndexCache& cache) const {
  for (const uint8_t* end = bgr + 3 * count; bgr != end; bgr += 3) {
    const int b = bgr[0], g = bgr[1], r = bgr[2];
    const size_t cell = CellOf(r, g, b);
    if (cellStart_[cell + 1] - cellStart_[cell] <= kUncachedCandidates)
      *indices++ = uint8_t(Nearest(cell, r, g, b));
    else
      *indices++ = uint8_t(cache.Get(uint32_t(r << 16 | g << 8 | b), [&](uint32_t) { return Nearest(cell, r, g, b); }));
  }
}

// Outward from the green index; a direction ends once green alone is as far
// as the best found.
int TIENeuralLookup::Search(int r, int g, int b) const {
  int best = 1000, bestIndex = 0;
  const auto consider = [&](const TNeuron& p, int greenDist) {
    int dist = std::abs(greenDist) + std::abs(p.b - b);
    if (dist >= best) return;
    dist += std::abs(p.r - r);
    if (dist < best) best = dist, bestIndex = p.index;
  };
  int i = greenIndex_[size_t(g)], j = i - 1;
  while (i < n_ || j >= 0) {
    if (i < n_) {
      const TNeuron& p = sorted_[size_t(i)];
      if (p.g - g >= best) {
        i = n_;
      } else {
        ++i;
        consider(p, p.g - g);
      }
    }
    if (j >= 0) {
      const TNeuron& p = sorted_[size_t(j)];
      if (g - p.g >= best) {
        j = -1;
      } else {
        --j;
        consider(p, g - p.g);
      }
    }
  }
  return bestIndex;
}

}  // namespace quillet
