// TIEBoxQuantizer: variance-driven box splitting on a 32 x 32 x 32 colour
// histogram, the quantizer engine for fewer than 128 colours.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/proc/quantizer_source.h"

namespace quillet {

class TIEBoxQuantizer {
 public:
  static constexpr int kMaxBoxes = 256;

  // Splits the colours of the source into at most `colors` boxes (1..256);
  // fewer when the image has fewer separable colours, one black box when it
  // has no pixels.
  TIEBoxQuantizer(const TIEQuantizerSource& source, int colors);

  int BoxCount() const { return int(boxes_.size()); }
  // Entry i = the mean of box i in 5-bit units times 8, for i < BoxCount();
  // later entries are left alone.
  void WritePalette(std::span<TBGR> palette) const;

  // The box of the 5-bit cell of a colour; cells in no box give 0.
  static int CellOf(int r, int g, int b) { return (r >> 3) << 10 | (g >> 3) << 5 | b >> 3; }
  const uint8_t* ColorMap() const { return colorMap_.data(); }
  int GetIndex(uint32_t rgb) const { return colorMap_[CellOf(rgb >> 16 & 255, rgb >> 8 & 255, rgb & 255)]; }

  // Channels 0 = red, 1 = green, 2 = blue; bounds in 5-bit units, hi exclusive.
  struct TBox {
    double variance = 0;
    std::array<double, 3> mean{};
    int64_t count = 0;
    std::array<std::array<int64_t, 32>, 3> hist{};
    std::array<int, 3> lo{0, 0, 0}, hi{32, 32, 32};
  };

 private:
  void BuildHistogram(const TIEQuantizerSource& source);
  void Statistics(TBox& box) const;
  bool SplitAxis(const TBox& box, int c, TBox& lower, TBox& upper) const;
  void RebuildHalves(TBox& lower, TBox& upper) const;
  bool Split(int chosen);
  void BuildColorMap();

  std::vector<uint64_t> histogram_;  // r5 * 1024 + g5 * 32 + b5
  std::vector<TBox> boxes_;
  std::vector<uint8_t> colorMap_;
  double pixels_ = 0;
};

}  // namespace quillet
