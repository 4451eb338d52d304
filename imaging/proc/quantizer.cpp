// The quantizer: the choice of engine by the number of colours, the empty
// image, the exact palette of an image of few colours, and the per-colour
// and per-row lookups of each engine.
#include "imaging/proc/quantizer.h"

#include <algorithm>
#include <atomic>

#include "imaging/proc/resample_threads.h"

namespace quillet {

namespace {

// The number of entries asked for, within 1..256 and the palette's size.
int EntriesAsked(int colors, std::span<TBGR> palette) {
  return int(std::min<int64_t>(std::clamp(colors, 1, 256), int64_t(palette.size())));
}

}  // namespace

TIEQuantizer::TIEQuantizer(const TIEQuantizerSource& source, std::span<TBGR> palette, int colors, int quality,
                           [[maybe_unused]] int method)
    : engine_(TIEQuantizerEngine::qeBoxSplitting) {
  const int n = EntriesAsked(colors, palette);
  if (n >= kNeuralColors) engine_ = TIEQuantizerEngine::qeNeuralNetwork;
  if (n <= 0) return;
  if (source.Empty()) {
    palette[0] = kBlack;
    entries_ = 1;
  } else if (engine_ == TIEQuantizerEngine::qeBoxSplitting) {
    box_ = std::make_unique<TIEBoxQuantizer>(source, n);
    box_->WritePalette(palette);
    entries_ = box_->BoxCount();
  } else {
    neural_ = std::make_unique<TIENeuralQuantizer>(source, n, quality);
    neural_->WritePalette(palette);
    entries_ = neural_->NeuronCount();
  }
}

TIEQuantizer::TIEQuantizer(std::unique_ptr<TIEExactPalette> exact, std::span<TBGR> palette)
    : engine_(TIEQuantizerEngine::qeExactColours), entries_(exact->Count()), exact_(std::move(exact)) {
  exact_->WritePalette(palette);
}

std::unique_ptr<TIEQuantizer> TIEQuantizer::KeepingColours(const TIEQuantizerSource& source, std::span<TBGR> palette,
                                                           int colors) {
  std::unique_ptr<TIEExactPalette> exact = TIEExactPalette::Find(source, EntriesAsked(colors, palette));
  if (!exact) return std::make_unique<TIEQuantizer>(source, palette, colors);
  return std::unique_ptr<TIEQuantizer>(new TIEQuantizer(std::move(exact), palette));
}

TIEQuantizer::~TIEQuantizer() = default;

int TIEQuantizer::GetIndex(uint32_t rgb) const {
  if (box_) return box_->GetIndex(rgb);
  if (neural_) return neural_->GetIndex(rgb);
  if (exact_) return exact_->GetIndex(rgb);
  return 0;
}

void TIEQuantizer::MapRow(const uint8_t* bgr, int64_t count, uint8_t* indices) const {
  const uint8_t* end = bgr + 3 * count;
  if (box_) {
    const uint8_t* map = box_->ColorMap();
    for (; bgr != end; bgr += 3) *indices++ = map[TIEBoxQuantizer::CellOf(bgr[2], bgr[1], bgr[0])];
  } else if (neural_) {
    neural_->MapRow(bgr, count, indices);
  } else if (exact_) {
    exact_->MapRow(bgr, count, indices);
  } else {
    std::fill_n(indices, count, 0);
  }
}

// Rows are handed out in runs, so that a thread slowed by other work on its
// core takes fewer of them; each row's indices are the same on any thread.
void TIEQuantizer::MapImage(const TIEQuantizerSource& source, uint8_t* indices, int64_t stride) const {
  constexpr int64_t kRun = 16;
  if (source.Empty()) return;
  const int64_t width = source.Width(), height = source.Height();
  const int threads = PassThreads(height, width);
  std::atomic<int64_t> next{0};
  SplitItems(threads, height * width / threads, {}, [&](int64_t, int64_t, const auto&) {
    const auto eachRow = [&](const auto& map) {
      for (int64_t first; (first = next.fetch_add(kRun)) < height;)
        for (int64_t y = first; y < std::min(first + kRun, height); ++y) map(source.Row(y), indices + y * stride);
    };
    if (neural_) {
      TIEColorIndexCache cache(TIEColorIndexCache::BitsFor(source.PixelCount()));  // one per thread
      eachRow([&](const uint8_t* row, uint8_t* out) { neural_->Lookup().MapRow(row, width, out, cache); });
    } else {
      eachRow([&](const uint8_t* row, uint8_t* out) { MapRow(row, width, out); });
    }
  });
}

}  // namespace quillet
