// TIENeuralQuantizer: the self-organising network quantizer (NeuQuant) with
// integer learning on sampled pixels, the engine for 128 colours and more.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/proc/color_index_cache.h"
#include "imaging/proc/neural_lookup.h"
#include "imaging/proc/quantizer_source.h"

namespace quillet {

class TIENeuralQuantizer {
 public:
  static constexpr int kMaxNeurons = 256;

  // Trains `colors` neurons (clamped to 1..256) on the source, sampling every
  // f-th pixel on average with f from `quality` (0..100, or -1 automatic).
  // A source without pixels leaves the network untrained (a grey ramp).
  TIENeuralQuantizer(const TIEQuantizerSource& source, int colors, int quality);

  // f: 1 for the best quality, up to 30.
  static int SampleFactor(int64_t pixels, int quality);

  int NeuronCount() const { return int(palette_.size()); }
  // Entry i = neuron i, as trained (before the sort for the lookup).
  void WritePalette(std::span<TBGR> palette) const;

  // Palette index of `rgb` (R * 65536 + G * 256 + B): the closest neuron by
  // the green-ordered outward search.
  int GetIndex(uint32_t rgb) const { return lookup_->Index(int(rgb >> 16 & 255), int(rgb >> 8 & 255), int(rgb & 255)); }
  // Indices of `count` pixels of blue, green, red bytes, through the
  // quantizer's own cache (one thread at a time).
  void MapRow(const uint8_t* bgr, int64_t count, uint8_t* indices) const { lookup_->MapRow(bgr, count, indices, cache_); }
  const TIENeuralLookup& Lookup() const { return *lookup_; }

  // Learning state, one row per quantity and one column per neuron, so the
  // contest streams through them; colours in 1/16 of a level.
  struct TNetwork {
    alignas(64) std::array<int32_t, kMaxNeurons> blue{}, green{}, red{}, bias{}, freq{};
    std::array<int32_t, kMaxNeurons / 8> radPower{};  // the pull on neighbours by their distance
  };

 private:
  void Learn(const TIEQuantizerSource& source, int factor);
  void SetRadPower(int rad, int alpha);

  int n_;
  TNetwork net_;
  std::vector<TBGR> palette_;
  std::unique_ptr<TIENeuralLookup> lookup_;
  mutable TIEColorIndexCache cache_;
};

}  // namespace quillet
