// The box-splitting engine: palettes of small histograms worked out by hand,
// the entries it leaves alone, 5-bit cells, the lookup, and image stores as
// sources.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/core/ie_bitmap.h"
#include "imaging/proc/quantizer.h"
#include "proc_images.h"

namespace quillet::test {
namespace {

const TBGR kSentinel{1, 2, 3};

std::vector<TBGR> Quantize(const TIEWorkingBitmap& img, int colors, int* written = nullptr) {
  std::vector<TBGR> palette(size_t(colors), kSentinel);
  TIEQuantizer q(TIEQuantizerSource(img), palette, colors);
  EXPECT_EQ(q.Engine(), TIEQuantizerEngine::qeBoxSplitting);
  if (written) *written = q.EntryCount();
  return palette;
}

TEST(BoxQuantizer, TwoColoursSplitOnRed) {
  const TIEWorkingBitmap img = MakeImage(8, 4, [](int x, int) { return x < 4 ? MakeBGR(255, 0, 0) : MakeBGR(0, 0, 255); });
  std::vector<TBGR> palette(2);
  TIEQuantizer q(TIEQuantizerSource(img), palette, 2);
  EXPECT_EQ(palette[0], MakeBGR(0, 0, 248));
  EXPECT_EQ(palette[1], MakeBGR(248, 0, 0));
  EXPECT_EQ(q.GetIndex(0xFF0000), 1);
  EXPECT_EQ(q.GetIndex(0x0000FF), 0);
}

TEST(BoxQuantizer, FewColoursLeaveTheOtherEntriesAlone) {
  const TBGR colours[3] = {MakeBGR(200, 16, 40), MakeBGR(8, 120, 250), MakeBGR(90, 90, 90)};
  const TIEWorkingBitmap img = MakeImage(9, 5, [&](int x, int y) { return colours[(x + y) % 3]; });
  int written = 0;
  const std::vector<TBGR> palette = Quantize(img, 16, &written);
  EXPECT_EQ(written, 3);
  std::vector<TBGR> got(palette.begin(), palette.begin() + 3);
  for (const TBGR& c : colours)  // every entry is its colour rounded down to a multiple of 8
    EXPECT_NE(std::find(got.begin(), got.end(), MakeBGR(uint8_t(c.r & ~7), uint8_t(c.g & ~7), uint8_t(c.b & ~7))),
              got.end());
  for (size_t i = 3; i < palette.size(); ++i) EXPECT_EQ(palette[i], kSentinel) << i;
}

// Red 5-bit levels 0, 0, 4, 20. Two boxes: the cut search (from level 3 to
// 19 around the mean 6) scores 36 at level 3 and 75 at level 4, so {0,0,4}
// and {20}. A third box splits {0,0,4} (the only one with variance) into
// {0,0} and {4}. No further split exists.
TEST(BoxQuantizer, CutSearchOnASmallHistogram) {
  const uint8_t reds[4] = {0, 0, 32, 160};
  const TIEWorkingBitmap img = MakeImage(4, 1, [&](int x, int) { return MakeBGR(reds[x], 0, 0); });
  const auto red = [](const std::vector<TBGR>& p) {
    std::vector<int> r;
    for (const TBGR& c : p) r.push_back(c == kSentinel ? -1 : c.r);
    return r;
  };
  EXPECT_EQ(red(Quantize(img, 2)), (std::vector<int>{8, 160}));  // round(4/3) * 8
  EXPECT_EQ(red(Quantize(img, 3)), (std::vector<int>{0, 160, 32}));
  int written = 0;
  EXPECT_EQ(red(Quantize(img, 5, &written)), (std::vector<int>{0, 160, 32, -1, -1}));
  EXPECT_EQ(written, 3);
}

TEST(BoxQuantizer, ColoursOfOneCellShareAnEntryAndWhiteBecomes248) {
  const TIEWorkingBitmap img = MakeImage(6, 6, [](int x, int y) {
    if (y < 3) return x < 3 ? MakeBGR(1, 2, 3) : MakeBGR(7, 7, 7);
    return MakeBGR(255, 255, 255);
  });
  std::vector<TBGR> palette(16, kSentinel);
  TIEQuantizer q(TIEQuantizerSource(img), palette, 16);
  ASSERT_EQ(q.EntryCount(), 2);
  EXPECT_EQ(q.GetIndex(0x010203), q.GetIndex(0x070707));
  EXPECT_EQ(palette[size_t(q.GetIndex(0x010203))], kBlack);
  EXPECT_EQ(palette[size_t(q.GetIndex(0xFFFFFF))], MakeBGR(248, 248, 248));
}

TEST(BoxQuantizer, EveryEntryIsAMultipleOfEightAndEveryPixelMapsInside) {
  const TIEWorkingBitmap img = Gradient(61, 37);
  std::vector<TBGR> palette(127, kSentinel);
  TIEQuantizer q(TIEQuantizerSource(img), palette, 127);
  ASSERT_EQ(q.Engine(), TIEQuantizerEngine::qeBoxSplitting);
  ASSERT_GT(q.EntryCount(), 100);
  for (int i = 0; i < q.EntryCount(); ++i) {
    const TBGR c = palette[size_t(i)];
    EXPECT_EQ((c.r | c.g | c.b) & 7, 0) << i;
  }
  std::vector<uint8_t> row(61);
  for (int y = 0; y < 37; ++y) {
    q.MapRow(img.ScanLine(y), 61, row.data());
    for (int x = 0; x < 61; ++x) {
      const TBGR p = img.Pixel(x, y);
      ASSERT_EQ(row[size_t(x)], q.GetIndex(RgbOf(p)));
      ASSERT_LT(row[size_t(x)], q.EntryCount());
      const TBGR e = palette[row[size_t(x)]];
      // A box holds colours near its mean: no pixel lands on a far entry.
      EXPECT_LE(std::abs(e.r - p.r) + std::abs(e.g - p.g) + std::abs(e.b - p.b), 60) << x << "," << y;
    }
  }
}

TEST(BoxQuantizer, ImageStoresGiveTheSamePaletteAsTheBitmap) {
  const TIEWorkingBitmap img = Gradient(23, 17);
  const std::vector<TBGR> want = Quantize(img, 32);
  for (TIEBitmapLocation where : {TIEBitmapLocation::ieMemory, TIEBitmapLocation::ieFile, TIEBitmapLocation::ieWorkingBitmap}) {
    TIEBitmap store;
    store.SetLocation(where);
    store.CopyFromBitmap(img);
    std::vector<TBGR> got(32, kSentinel);
    TIEQuantizer q(TIEQuantizerSource(store), got, 32);
    EXPECT_EQ(got, want) << int(where);
  }
}

}  // namespace
}  // namespace quillet::test
