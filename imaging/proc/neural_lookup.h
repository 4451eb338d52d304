// TIENeuralLookup: the neural quantizer's colour-to-index mapping, an outward
// search over the palette sorted by green, answered through candidate lists
// per colour cell.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/proc/color_index_cache.h"

namespace quillet {

class TIENeuralLookup {
 public:
  // A lookup over palette[0..n), n in 1..256.
  explicit TIENeuralLookup(std::span<const TBGR> palette);

  // The outward search: from the green index up and down in turn, a
  // direction ending once green alone is as far as the best found; the
  // first entry met at the smallest |dR| + |dG| + |dB| wins.
  int Search(int r, int g, int b) const;

  // The same answer as Search, from the candidates of the colour's cell.
  int Index(int r, int g, int b) const { return Nearest(CellOf(r, g, b), r, g, b); }

  // Indices of `count` pixels of blue, green, red bytes; colours of cells
  // with many candidates go through `cache`.
  void MapRow(const uint8_t* bgr, int64_t count, uint8_t* indices, TIEColorIndexCache& cache) const;

 private:
  static constexpr int kCellShift = 3;  // cells of 8 levels per channel
  static constexpr int kCellBits = 8 - kCellShift;

  struct TNeuron {
    int32_t b, g, r, index;
  };
  // The candidates of a cell come in groups of four lanes, compared at once;
  // the last of a list is repeated to fill its last group.
  using TLanes = int32_t __attribute__((vector_size(16)));
  static constexpr size_t kGroup = 4;
  struct alignas(64) TGroup {
    TLanes b, g, r;
    TLanes entry;  // position in the green order << 8 | palette index
  };

  static size_t CellOf(int r, int g, int b) {
    return size_t((r >> kCellShift) << 2 * kCellBits | (g >> kCellShift) << kCellBits | b >> kCellShift);
  }
  // The search meets position start + t at step 2t (t >= 0) or -2t - 1
  // (t < 0): ordered by distance, then by that step, then anything unique.
  static TLanes Key(TLanes distance, TLanes t, TLanes index) { return (distance << 9 | (t * 2 ^ t >> 31)) << 8 | index; }
  static TLanes Abs(TLanes x) { return x < 0 ? -x : x; }

  int Nearest(size_t cell, int r, int g, int b) const {
    const int start = greenIndex_[size_t(g)];
    TLanes best = TLanes{} + INT32_MAX;
    const TGroup* group = &groups_[cells_[cell] >> 8];
    for (uint32_t k = GroupCount(cell); k != 0; --k, ++group) {
      const TLanes key = Key(Abs(group->b - b) + Abs(group->g - g) + Abs(group->r - r), (group->entry >> 8) - start,
                             group->entry & 255);
      best = key < best ? key : best;
    }
    return std::min({best[0], best[1], best[2], best[3]}) & 255;
  }

  uint32_t GroupCount(size_t cell) const { return (cells_[cell] & 255) + 1; }

  void SortByGreen();
  void BuildCells();
  uint32_t AddList(std::vector<TGroup>& groups, std::span<const uint8_t> kept) const;

  int n_;
  std::vector<TNeuron> sorted_;             // by green
  std::array<int32_t, 256> greenIndex_{};  // first position to search per green
  std::vector<uint32_t> cells_;            // per cell: first group << 8 | (groups - 1)
  std::vector<TGroup> groups_;
};

}  // namespace quillet
