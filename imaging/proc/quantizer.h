// TIEQuantizer: reduces a 24-bit image to a palette of at most N colours and
// answers, for any colour, the index of its palette entry.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "imaging/core/colors.h"
#include "imaging/proc/box_quantizer.h"
#include "imaging/proc/exact_palette.h"
#include "imaging/proc/neural_quantizer.h"
#include "imaging/proc/quantizer_source.h"

namespace quillet {

enum class TIEQuantizerEngine : uint8_t { qeNeuralNetwork = 0, qeBoxSplitting = 1, qeExactColours = 2 };

class TIEQuantizer {
 public:
  // Below this many colours the box splitter is used, from it on the network.
  static constexpr int kNeuralColors = 128;

  // Builds the palette of `colors` entries (clamped to 1..256 and to the
  // palette's size) over the whole source and writes it to palette[0..]:
  // the box splitter writes at most N entries and leaves the rest as they
  // were, the network exactly N. quality (0..100, -1 automatic) sets the
  // network's sampling. `method` is reserved: the engine depends on N alone.
  // A source without pixels gives one black entry and index 0 for every colour.
  TIEQuantizer(const TIEQuantizerSource& source, std::span<TBGR> palette, int colors, int quality = -1,
               int method = 0);
  // As the constructor, except that a source of at most N distinct colours
  // keeps them: they become the palette (engine qeExactColours), so that an
  // image already reduced to N colours loses nothing more.
  static std::unique_ptr<TIEQuantizer> KeepingColours(const TIEQuantizerSource& source, std::span<TBGR> palette,
                                                      int colors);
  ~TIEQuantizer();
  TIEQuantizer(const TIEQuantizer&) = delete;
  TIEQuantizer& operator=(const TIEQuantizer&) = delete;

  TIEQuantizerEngine Engine() const { return engine_; }
  // Palette entries written by the constructor.
  int EntryCount() const { return entries_; }

  // Palette index of `rgb` = R * 65536 + G * 256 + B, below EntryCount().
  int GetIndex(uint32_t rgb) const;
  // Palette indices of `count` pixels of blue, green, red bytes.
  void MapRow(const uint8_t* bgr, int64_t count, uint8_t* indices) const;
  // Palette indices of every pixel of `source`, row y at indices + y * stride:
  // the rows are shared between threads, with MapRow's results.
  void MapImage(const TIEQuantizerSource& source, uint8_t* indices, int64_t stride) const;

 private:
  TIEQuantizer(std::unique_ptr<TIEExactPalette> exact, std::span<TBGR> palette);

  TIEQuantizerEngine engine_;
  int entries_ = 0;
  std::unique_ptr<TIEBoxQuantizer> box_;
  std::unique_ptr<TIENeuralQuantizer> neural_;
  std::unique_ptr<TIEExactPalette> exact_;
};

// R * 65536 + G * 256 + B of a colour record.
inline uint32_t RgbOf(const TBGR& c) { return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }

}  // namespace quillet
