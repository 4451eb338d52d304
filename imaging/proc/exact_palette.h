// TIEExactPalette: the distinct colours of a 24-bit image that has few of
// them, as a palette, and the index of each colour.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/proc/quantizer_source.h"

namespace quillet {

class TIEExactPalette {
 public:
  // The source's colours when it has pixels and at most `limit` distinct
  // colours, else nothing.
  static std::unique_ptr<TIEExactPalette> Find(const TIEQuantizerSource& source, int limit);

  int Count() const { return int(colors_.size()); }
  // The colours in ascending R * 65536 + G * 256 + B to palette[0..Count()).
  void WritePalette(std::span<TBGR> palette) const;
  // Palette index of `rgb`; for a colour the image does not have, the
  // nearest entry by |dR| + |dG| + |dB|.
  int GetIndex(uint32_t rgb) const;
  void MapRow(const uint8_t* bgr, int64_t count, uint8_t* indices) const;

 private:
  // An open-addressed table from colour to a small number, sized for
  // `capacity` colours.
  class TSlots {
   public:
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;  // no 24-bit colour
    explicit TSlots(int capacity);
    // Where `rgb` is, or the free slot it would take.
    size_t Probe(uint32_t rgb) const;
    bool Holds(size_t at, uint32_t rgb) const { return keys_[at] == rgb; }
    uint16_t Value(size_t at) const { return values_[at]; }
    void Put(size_t at, uint32_t rgb, uint16_t value) { keys_[at] = rgb, values_[at] = value; }

   private:
    std::vector<uint32_t> keys_;
    std::vector<uint16_t> values_;
    uint32_t shift_ = 0;
  };

  explicit TIEExactPalette(std::vector<uint32_t> colors);

  std::vector<uint32_t> colors_;  // sorted R * 65536 + G * 256 + B
  TSlots indices_;                // colour -> palette index
};

}  // namespace quillet
