// The quantizer that keeps an image's colours when they fit the palette.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/proc/quantizer.h"
#include "proc_images.h"

namespace quillet::test {
namespace {

TEST(ExactPalette, FewColoursBecomeThePaletteInOrder) {
  const TBGR a = MakeBGR(7, 7, 7), b = MakeBGR(1, 2, 3), c = MakeBGR(255, 255, 255);
  const TIEWorkingBitmap img = MakeImage(6, 6, [&](int x, int y) { return y < 3 ? (x < 3 ? a : b) : c; });
  const TBGR sentinel{9, 9, 9};
  std::vector<TBGR> palette(16, sentinel);
  const auto q = TIEQuantizer::KeepingColours(TIEQuantizerSource(img), palette, 16);
  EXPECT_EQ(q->Engine(), TIEQuantizerEngine::qeExactColours);
  ASSERT_EQ(q->EntryCount(), 3);
  EXPECT_EQ(std::vector<TBGR>(palette.begin(), palette.begin() + 4), (std::vector<TBGR>{b, a, c, sentinel}));
  std::vector<uint8_t> indices(6);
  q->MapRow(img.ScanLine(0), 6, indices.data());
  EXPECT_EQ(indices, (std::vector<uint8_t>{1, 1, 1, 0, 0, 0}));
  EXPECT_EQ(q->GetIndex(0xF0F0F0), 2);  // not in the image: the nearest entry

  // One colour more than the entries: the usual engines.
  EXPECT_EQ(TIEQuantizer::KeepingColours(TIEQuantizerSource(img), palette, 2)->Engine(),
            TIEQuantizerEngine::qeBoxSplitting);
  const TIEWorkingBitmap many = Gradient(40, 30);
  std::vector<TBGR> big(256);
  EXPECT_EQ(TIEQuantizer::KeepingColours(TIEQuantizerSource(many), big, 256)->Engine(),
            TIEQuantizerEngine::qeNeuralNetwork);
}

}  // namespace
}  // namespace quillet::test
