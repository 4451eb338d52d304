// The neural quantizer's fast paths against their references: the candidate
// lookup against the outward search, and learning and mapping against
// checksums of the results of the plain implementation.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "imaging/proc/neural_lookup.h"
#include "imaging/proc/quantizer.h"
#include "proc_images.h"

namespace quillet::test {
namespace {

uint64_t Fnv(const void* data, size_t size) {
  uint64_t h = 1469598103934665603ull;
  for (size_t i = 0; i < size; ++i) h = (h ^ static_cast<const uint8_t*>(data)[i]) * 1099511628211ull;
  return h;
}

// Trained, full of ties, tiny and scattered palettes; every colour of a
// coarse grid and random ones.
TEST(NeuralLookup, CandidatesGiveTheSearchAnswer) {
  std::mt19937 rng(9);
  const auto random = [&rng](size_t n, int levels) {
    std::vector<TBGR> p(n);
    for (TBGR& c : p) c = MakeBGR(uint8_t(rng() % levels * 255 / (levels - 1)), uint8_t(rng() % levels * 255 / (levels - 1)),
                                  uint8_t(rng() % levels * 255 / (levels - 1)));
    return p;
  };
  std::vector<TBGR> trained(256);
  TIEQuantizer(TIEQuantizerSource(Gradient(64, 64)), trained, 256);
  for (const std::vector<TBGR>& palette : {trained, random(256, 3), random(1, 256), random(3, 256), random(200, 256)}) {
    const TIENeuralLookup lookup(palette);
    std::vector<uint32_t> colours;
    for (int c = 0; c < 1 << 12; ++c) colours.push_back(uint32_t(c >> 8 & 15) * 17 << 16 | (c >> 4 & 15) * 17 << 8 | (c & 15) * 17);
    for (int i = 0; i < 20000; ++i) colours.push_back(rng() & 0xFFFFFF);
    for (uint32_t rgb : colours) {
      const int r = int(rgb >> 16), g = int(rgb >> 8 & 255), b = int(rgb & 255);
      ASSERT_EQ(lookup.Index(r, g, b), lookup.Search(r, g, b)) << palette.size() << " " << std::hex << rgb;
    }
  }
}

// Checksums of palette and indices from the implementation before the fast
// paths, on a noisy image.
TEST(NeuralLookup, ResultsAreThoseOfThePlainImplementation) {
  const TIEWorkingBitmap img = MakeImage(150, 100, [](int x, int y) {
    const uint32_t h = uint32_t(x * 7919 + y * 104729) * 2654435761u;
    return MakeBGR(uint8_t(x + (h >> 28)), uint8_t(y * 2 + (h >> 24 & 15)), uint8_t((x ^ y) + (h >> 20 & 15)));
  });
  struct TCase {
    int colors, quality;
    uint64_t palette, indices;
  };
  for (const TCase& c : {TCase{128, -1, 0xff896378f6fd4f0aull, 0x8ece3a85b77f1156ull},
                         TCase{128, 100, 0xb103f93e4b335402ull, 0xc6203d7327eaca23ull},
                         TCase{256, -1, 0xf02969d7dd0a453full, 0x9e423798761cd579ull},
                         TCase{256, 100, 0x158dbc14c53a031full, 0x3b9919783f0d74b0ull}}) {
    std::vector<TBGR> palette(256);
    const TIEQuantizer q(TIEQuantizerSource(img), palette, c.colors, c.quality);
    std::vector<uint8_t> rows(size_t(img.Width() * img.Height())), image(rows.size());
    for (int64_t y = 0; y < img.Height(); ++y) q.MapRow(img.ScanLine(y), img.Width(), rows.data() + y * img.Width());
    q.MapImage(TIEQuantizerSource(img), image.data(), img.Width());
    EXPECT_EQ(Fnv(palette.data(), palette.size() * 3), c.palette) << c.colors << " " << c.quality;
    EXPECT_EQ(Fnv(rows.data(), rows.size()), c.indices) << c.colors << " " << c.quality;
    EXPECT_EQ(rows, image);
  }
}

}  // namespace
}  // namespace quillet::test
