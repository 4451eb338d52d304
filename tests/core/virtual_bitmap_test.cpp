// TIEVirtualBitmap: tiling, copying in, the lookup, and tile-by-tile drawing
// onto a canvas at 1:1, enlarged, and reduced (grey for 1-bit images).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "imaging/core/reduce_grey.h"
#include "imaging/core/virtual_bitmap.h"
#include "support/test_support.h"

namespace quillet {
namespace {

// A 24-bit page that draws by nearest neighbour and counts how often each
// pixel was drawn.
class PageCanvas : public TIEDrawCanvas {
 public:
  PageCanvas(int64_t w, int64_t h) : page(w, h, TIEPixelFormat::pf24bit), hits(size_t(w * h), 0) {}

  void StretchDraw(const TIEImageRows& rows, const std::vector<TRGBQuad>& palette, int64_t left, int64_t top,
                   int64_t right, int64_t bottom) override {
    ++calls;
    bitsSeen = rows.Bits;
    for (int64_t y = top; y < bottom; ++y)
      for (int64_t x = left; x < right; ++x) {
        const int64_t sx = (x - left) * rows.Width / (right - left), sy = (y - top) * rows.Height / (bottom - top);
        const uint8_t* row = rows.Row(sy);
        TBGR c;
        if (rows.Bits == 24) c = {row[3 * sx], row[3 * sx + 1], row[3 * sx + 2]};
        else {
          const int index = rows.Bits == 8 ? row[sx] : (row[sx >> 3] >> (7 - (sx & 7))) & 1;
          c = {palette[size_t(index)].b, palette[size_t(index)].g, palette[size_t(index)].r};
        }
        uint8_t* p = page.ScanLine(y) + 3 * x;
        p[0] = c.b, p[1] = c.g, p[2] = c.r;
        ++hits[size_t(y * page.Width() + x)];
      }
  }

  void ExpectEachPixelDrawnOnce() const {
    for (size_t i = 0; i < hits.size(); ++i) ASSERT_EQ(hits[i], 1) << "pixel " << i;
  }

  TIEWorkingBitmap page;
  std::vector<int> hits;
  int calls = 0, bitsSeen = 0;
};

TIEWorkingBitmap Colour(int64_t w, int64_t h) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = uint8_t(x ^ y);
    }
  return b;
}

TIEWorkingBitmap Mono(int64_t w, int64_t h) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf1bit);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t i = 0; i < b.RowBytes(); ++i) b.ScanLine(y)[i] = uint8_t((y * 7 + i * 13) ^ (y % 3 ? 0x0f : 0xf0));
  return b;
}

void ExpectSamePixels(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  const bool raw = a.PixelFormat() == b.PixelFormat() && a.BitCount() == 24;
  for (int64_t y = 0; raw && y < a.Height(); ++y)
    ASSERT_EQ(std::memcmp(a.ScanLine(y), b.ScanLine(y), size_t(a.Width() * 3)), 0) << "row " << y;
  for (int64_t y = 0; !raw && y < a.Height(); ++y)
    for (int64_t x = 0; x < a.Width(); ++x) ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
}

TEST(VirtualBitmap, TilesByDepth) {
  TIEVirtualBitmap v;
  ASSERT_TRUE(v.Allocate(1100, 600, 24));
  EXPECT_EQ(v.TileWidth(), 512);
  EXPECT_EQ(v.TilesAcross(), 3);
  EXPECT_EQ(v.TilesDown(), 2);
  EXPECT_EQ(v.StoreSize(), 3 * 1536 * 2 * 512);
  ASSERT_TRUE(v.Allocate(1025, 512, 1));
  EXPECT_EQ(v.TileWidth(), 1024);
  EXPECT_EQ(v.TileHeight(), 512);
  EXPECT_EQ(v.TilesAcross(), 2);
  EXPECT_EQ(v.TilesDown(), 1);
  ASSERT_TRUE(v.Allocate(257, 1, 8));
  EXPECT_EQ(v.TileWidth(), 256);
  EXPECT_EQ(v.TilesAcross(), 2);
  EXPECT_FALSE(v.Allocate(10, 10, 4));
  EXPECT_FALSE(v.Allocate(0, 10, 24));
  EXPECT_TRUE(v.Empty());
}

TEST(VirtualBitmap, DrawsItsTilesBackIntoTheWholeImage) {
  const TIEWorkingBitmap colour = Colour(1100, 600);
  for (TIEVirtualBacking backing : {TIEVirtualBacking::ieTempFile, TIEVirtualBacking::ieAnonymousMemory}) {
    TIEVirtualBitmap v(backing);
    ASSERT_TRUE(v.CopyFrom(colour));
    PageCanvas canvas(1100, 600);
    v.Draw(canvas, 0, 0, 1100, 600);
    EXPECT_EQ(canvas.calls, 6);
    canvas.ExpectEachPixelDrawnOnce();
    ExpectSamePixels(canvas.page, colour);
  }
  const TIEWorkingBitmap mono = Mono(1030, 520);
  TIEVirtualBitmap v;
  ASSERT_TRUE(v.CopyFrom(mono));
  PageCanvas canvas(1030, 520);
  v.Draw(canvas, 0, 0, 1030, 520);
  EXPECT_EQ(canvas.bitsSeen, 1);
  ExpectSamePixels(canvas.page, mono);
}

TEST(VirtualBitmap, EnlargedTilesAbutWithoutGapsOrOverlap) {
  TIEVirtualBitmap v;
  ASSERT_TRUE(v.CopyFrom(Colour(600, 530)));
  PageCanvas canvas(1500, 1201);
  v.Draw(canvas, 0, 0, 1500, 1201);
  canvas.ExpectEachPixelDrawnOnce();
  EXPECT_EQ(canvas.page.Pixel(1499, 1200), Colour(600, 530).Pixel(599, 529));
}

TEST(VirtualBitmap, ReducedOneBitImagesAreDrawnAsGrey) {
  const TIEWorkingBitmap mono = Mono(2048, 1024);
  TIEVirtualBitmap v;
  ASSERT_TRUE(v.CopyFrom(mono));
  PageCanvas canvas(1024, 512);
  v.Draw(canvas, 0, 0, 1024, 512);
  EXPECT_EQ(canvas.calls, 4);
  EXPECT_EQ(canvas.bitsSeen, 24);
  canvas.ExpectEachPixelDrawnOnce();
  // Tile boundaries fall on box boundaries, so the tiles give the whole-image average.
  TIEWorkingBitmap whole;
  ASSERT_TRUE(Reduce1BitToGrey(mono, 0, 0, 2048, 1024, whole, 1024, 512));
  ExpectSamePixels(canvas.page, whole);
}

TEST(VirtualBitmap, EightBitImagesKeepTheirPalette) {
  TIEWorkingBitmap indexed;
  ASSERT_TRUE(indexed.Resize(300, 2, TIEPixelFormat::pf8bit));
  indexed.Palette().assign(256, {0, 0, 0, 0});
  indexed.Palette()[7] = {1, 2, 3, 0};
  for (int64_t x = 0; x < 300; ++x) indexed.ScanLine(1)[x] = x % 2 ? 7 : 0;
  TIEVirtualBitmap v;
  ASSERT_TRUE(v.CopyFrom(indexed));
  PageCanvas canvas(300, 2);
  v.Draw(canvas, 0, 0, 300, 2);
  EXPECT_EQ(canvas.page.Pixel(299, 1), (TBGR{1, 2, 3}));
  EXPECT_EQ(canvas.page.Pixel(298, 1), (TBGR{0, 0, 0}));
}

TEST(VirtualBitmap, LookupMapsEveryChannelOfColourImagesOnly) {
  uint8_t table[256];  // no two entries related by a shift or a flip of bits
  for (int i = 0; i < 256; ++i) table[i] = uint8_t(i * 37 + 11);
  TIEWorkingBitmap colour = Colour(700, 300);
  TIEVirtualBitmap v;
  ASSERT_TRUE(v.CopyFrom(colour));
  v.ApplyLookup(table);
  PageCanvas canvas(700, 300);
  v.Draw(canvas, 0, 0, 700, 300);
  for (int64_t y = 0; y < 300; ++y)
    for (int64_t i = 0; i < 2100; ++i) colour.ScanLine(y)[i] = table[colour.ScanLine(y)[i]];
  ExpectSamePixels(canvas.page, colour);

  const TIEWorkingBitmap mono = Mono(40, 4);
  ASSERT_TRUE(v.CopyFrom(mono));
  v.ApplyLookup(table);
  PageCanvas page(40, 4);
  v.Draw(page, 0, 0, 40, 4);
  ExpectSamePixels(page.page, mono);
}

TEST(VirtualBitmap, TemporaryFileLeavesNothingBehindAndFallsBack) {
  test::TempDir dir;
  {
    TIEVirtualBitmap v(TIEVirtualBacking::ieTempFile, dir.Path().string());
    ASSERT_TRUE(v.CopyFrom(Colour(20, 20)));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  }
  TIEVirtualBitmap missing(TIEVirtualBacking::ieTempFile, dir.File("missing"));
  ASSERT_TRUE(missing.CopyFrom(Colour(20, 20)));
  PageCanvas canvas(20, 20);
  missing.Draw(canvas, 0, 0, 20, 20);
  ExpectSamePixels(canvas.page, Colour(20, 20));
}

}  // namespace
}  // namespace quillet
