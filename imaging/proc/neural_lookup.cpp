// The green order and index of the palette, the outward search, and the
// candidate lists per colour cell.
#include "imaging/proc/neural_lookup.h"

#include <atomic>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

#include "imaging/proc/resample_threads.h"

namespace quillet {

namespace {

using TColour = std::array<int, 3>;  // blue, green, red

// A cube of colours: levels lo[c]..lo[c] + size - 1 of channel c.
struct TCell {
  TColour lo;
  int size;

  int Hi(size_t c) const { return lo[c] + size - 1; }
  // Child k (0..7) of the eight of half the size; bit c of k picks the upper half of channel c.
  TCell Child(int k) const {
    const int half = size / 2;
    return TCell{{lo[0] + (k & 1) * half, lo[1] + (k >> 1 & 1) * half, lo[2] + (k >> 2 & 1) * half}, half};
  }
};

// f(r, g, b) of the lowest colour of every cell of `size` levels inside `cell`.
template <class TFunction>
void ForEachCell(const TCell& cell, int size, const TFunction& f) {
  for (int r = cell.lo[2]; r <= cell.Hi(2); r += size)
    for (int g = cell.lo[1]; g <= cell.Hi(1); g += size)
      for (int b = cell.lo[0]; b <= cell.Hi(0); b += size) f(r, g, b);
}

// The L1 distance from `p` to the farthest colour of the cell.
int Farthest(const TColour& p, const TCell& cell) {
  int d = 0;
  for (size_t c = 0; c < 3; ++c) d += std::max(p[c] - cell.lo[c], cell.Hi(c) - p[c]);
  return d;
}

// True when `q` is strictly closer than `p` to every colour of the cell. Per
// channel, |p - x| - |q - x| is monotone in x, so the smallest difference of
// the distances over the cell is the sum of its values at one end of each
// channel's range.
bool Dominates(const TColour& q, const TColour& p, const TCell& cell) {
  int margin = 0;
  for (size_t c = 0; c < 3; ++c) {
    const int x = p[c] <= q[c] ? cell.lo[c] : cell.Hi(c);
    margin += std::abs(p[c] - x) - std::abs(q[c] - x);
  }
  return margin > 0;
}

// Candidate lists per cell of the smallest size, by halving the colour cube:
// a cell keeps of its parent's entries those that no single entry beats
// throughout the cell (the one nearest to the cell's farthest colour is the
// judge), which include every entry that can be the nearest to one of its
// colours. An entry that can tie at the smallest distance stays: it may win
// by search order. A cell left with one entry is not divided further.
template <class TEmit>  // emit(cell, entries): the list of every smallest cell inside `cell`
class TCellBuilder {
 public:
  TCellBuilder(std::span<const TColour> colours, int smallest, const TEmit& emit)
      : colours_(colours), smallest_(smallest), emit_(emit) {}

  void Refine(const TCell& cell, std::span<const uint8_t> positions) {
    const TColour* judge = nullptr;
    int bound = INT32_MAX;
    for (uint8_t pos : positions) {
      const int d = Farthest(colours_[pos], cell);
      if (d < bound) bound = d, judge = &colours_[pos];
    }
    std::array<uint8_t, 256> kept;
    size_t count = 0;
    for (uint8_t pos : positions)
      if (!Dominates(*judge, colours_[pos], cell)) kept[count++] = pos;
    const std::span<const uint8_t> entries(kept.data(), count);
    if (cell.size == smallest_ || count == 1) return emit_(cell, entries);
    for (int k = 0; k < 8; ++k) Refine(cell.Child(k), entries);
  }

 private:
  std::span<const TColour> colours_;  // by position
  int smallest_;
  const TEmit& emit_;
};

}  // namespace

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

// Cells of kPieceSize levels (larger ones when left with one entry) are
// filtered on this thread; their insides are shared between threads, each
// appending to its own groups, and joined after.
void TIENeuralLookup::BuildCells() {
  constexpr int kPieceSize = 64;
  std::vector<TColour> colours;
  std::vector<uint8_t> all;
  for (const TNeuron& p : sorted_) all.push_back(uint8_t(all.size())), colours.push_back(TColour{p.b, p.g, p.r});
  cells_.resize(size_t(1) << 3 * kCellBits);
  struct TPiece {
    TCell cell;
    std::vector<uint8_t> entries;
    int thread = 0;
  };
  std::vector<TPiece> pieces;
  const auto keep = [&](const TCell& cell, std::span<const uint8_t> kept) {
    pieces.push_back(TPiece{cell, {kept.begin(), kept.end()}});
  };
  TCellBuilder(colours, kPieceSize, keep).Refine(TCell{{0, 0, 0}, 256}, all);

  const int threads = PassThreads(int64_t(pieces.size()), int64_t(1) << 16);
  std::vector<std::vector<TGroup>> groups(static_cast<size_t>(threads));
  std::atomic<size_t> next{0};
  SplitItems(threads, int64_t(1) << 20, {}, [&](int64_t t, int64_t, const auto&) {
    std::vector<TGroup>& own = groups[size_t(t)];
    const auto emit = [&](const TCell& cell, std::span<const uint8_t> kept) {
      const uint32_t list = AddList(own, kept);
      ForEachCell(cell, 1 << kCellShift, [&](int r, int g, int b) { cells_[CellOf(r, g, b)] = list; });
    };
    TCellBuilder builder(colours, 1 << kCellShift, emit);
    for (size_t i; (i = next.fetch_add(1)) < pieces.size();) {
      pieces[i].thread = int(t);
      builder.Refine(pieces[i].cell, pieces[i].entries);
    }
  });
  std::vector<uint32_t> base;
  for (const std::vector<TGroup>& own : groups) {
    base.push_back(uint32_t(groups_.size()));
    groups_.insert(groups_.end(), own.begin(), own.end());
  }
  for (const TPiece& piece : pieces)
    ForEachCell(piece.cell, 1 << kCellShift,
                [&](int r, int g, int b) { cells_[CellOf(r, g, b)] += base[size_t(piece.thread)] << 8; });
}

// The candidates of `kept` as groups at the end of `groups`; the list's word
// for cells_, counted from the start of `groups`.
uint32_t TIENeuralLookup::AddList(std::vector<TGroup>& groups, std::span<const uint8_t> kept) const {
  const size_t count = (kept.size() + kGroup - 1) / kGroup;
  const uint32_t list = uint32_t(groups.size()) << 8 | uint32_t(count - 1);
  groups.resize(groups.size() + count);
  TGroup* group = &groups[groups.size() - count];
  for (size_t i = 0; i < count * kGroup; ++i) {
    const uint8_t pos = kept[std::min(i, kept.size() - 1)];
    const TNeuron& p = sorted_[pos];
    TGroup& to = group[i / kGroup];
    const size_t lane = i % kGroup;
    to.b[lane] = p.b, to.g[lane] = p.g, to.r[lane] = p.r, to.entry[lane] = pos << 8 | p.index;
  }
  return list;
}

void TIENeuralLookup::MapRow(const uint8_t* bgr, int64_t count, uint8_t* indices, TIEColorIndexCache& cache) const {
  for (const uint8_t* end = bgr + 3 * count; bgr != end; bgr += 3) {
    const int b = bgr[0], g = bgr[1], r = bgr[2];
    const size_t cell = CellOf(r, g, b);
    if (GroupCount(cell) == 1)  // cheaper than a cache probe
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
