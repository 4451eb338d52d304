// TIEBitmap: round trips at every location and pixel type, moving between
// locations, the temporary file's lifetime and fallback, and the conversions.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "imaging/core/ie_bitmap.h"
#include "imaging/core/math.h"
#include "support/test_support.h"
#include "imaging/core/engine_settings.h"

namespace quillet {
namespace {

using L = TIEBitmapLocation;
using T = TIEPixelType;

constexpr L kLocations[] = {L::ieMemory, L::ieFile, L::ieWorkingBitmap};
constexpr T kTypes[] = {T::ie1g, T::ie8p, T::ie8g, T::ie16g, T::ie24RGB};

uint8_t PatternByte(int32_t y, int64_t i) { return uint8_t(y * 31 + i * 7 + 1); }

// Fills the meaningful bytes of every row with a pattern and the palette with a ramp.
void Paint(TIEBitmap& b) {
  const int64_t used = (int64_t(b.Width()) * b.BitsPerPixel() + 7) / 8;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int64_t i = 0; i < used; ++i) b.ScanLine(y)[i] = PatternByte(y, i);
  for (size_t i = 0; i < b.Palette().size(); ++i) b.Palette()[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)};
}

void ExpectPainted(TIEBitmap& b, const std::string& what) {
  const int64_t used = (int64_t(b.Width()) * b.BitsPerPixel() + 7) / 8;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int64_t i = 0; i < used; ++i) ASSERT_EQ(b.ScanLine(y)[i], PatternByte(y, i)) << what << " row " << y;
  for (size_t i = 0; i < b.Palette().size(); ++i) ASSERT_EQ(b.Palette()[i].g, uint8_t(255 - i)) << what;
}

bool MappedZiridevFile() {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.find("/ziridev") != std::string::npos) return true;
  return false;
}

// Sets the stores' temporary folder for the life of the object.
class ScopedTempFolder {
 public:
  explicit ScopedTempFolder(const std::string& dir) : old_(TempFolder()) { SetTempFolder(dir); }
  ~ScopedTempFolder() { SetTempFolder(old_); }

 private:
  std::string old_;
};

TEST(IEBitmap, RoundTripsAtEveryLocationAndType) {
  for (L location : kLocations)
    for (T type : kTypes) {
      TIEBitmap b;
      b.SetLocation(location);
      ASSERT_TRUE(b.Allocate(37, 9, type));
      const std::string what = "location " + std::to_string(int(location)) + " type " + std::to_string(int(type));
      // A working bitmap cannot hold 16-bit grey: it keeps the high bytes as 8-bit grey.
      const T held = location == L::ieWorkingBitmap && type == T::ie16g ? T::ie8g : type;
      EXPECT_EQ(b.PixelType(), held) << what;
      EXPECT_EQ(b.Location(), location) << what;
      EXPECT_EQ(b.RowLength(), RowLength(37, b.BitsPerPixel())) << what;
      EXPECT_EQ(b.Palette().size(), held == T::ie8p ? 256u : 0u) << what;
      Paint(b);
      ExpectPainted(b, what);
      // Through every other location and back again, nothing changes.
      for (L other : kLocations) {
        if (held == T::ie16g && other == L::ieWorkingBitmap) continue;  // narrows, below
        b.SetLocation(other);
        EXPECT_EQ(b.Location(), other);
        ASSERT_EQ(b.PixelType(), held);
        ExpectPainted(b, what + " via " + std::to_string(int(other)));
      }
    }
}

TEST(IEBitmap, RowsAreStoredBottomUp) {
  for (L location : {L::ieMemory, L::ieFile}) {
    TIEBitmap b;
    b.SetLocation(location);
    ASSERT_TRUE(b.Allocate(10, 4, T::ie24RGB));
    EXPECT_EQ(b.ScanLine(0) - b.ScanLine(1), 32);
    EXPECT_EQ(b.ScanLine(2) - b.ScanLine(3), 32);
  }
}

TEST(IEBitmap, SixteenBitGreyNarrowsToHighBytesInAWorkingBitmap) {
  TIEBitmap b;
  b.SetLocation(L::ieMemory);
  ASSERT_TRUE(b.Allocate(3, 2, T::ie16g));
  const uint8_t row[] = {0x34, 0x12, 0xff, 0x80, 0x00, 0x07};
  std::copy(row, row + 6, b.ScanLine(1));
  b.SetLocation(L::ieWorkingBitmap);
  ASSERT_EQ(b.PixelType(), T::ie8g);
  EXPECT_EQ(b.ScanLine(1)[0], 0x12);
  EXPECT_EQ(b.ScanLine(1)[1], 0x80);
  EXPECT_EQ(b.ScanLine(1)[2], 0x07);
}

TEST(IEBitmap, RefusesEmptyUntypedAndOversizedImages) {
  TIEBitmap b;
  EXPECT_EQ(b.Location(), L::ieFile);
  EXPECT_FALSE(b.Allocate(0, 5, T::ie24RGB));
  EXPECT_FALSE(b.Allocate(5, -1, T::ie24RGB));
  EXPECT_FALSE(b.Allocate(5, 5, T::ieNone));
  EXPECT_TRUE(b.Empty());
  const int64_t limit = MaxImagePixels();
  SetMaxImagePixels(99);
  EXPECT_FALSE(b.Allocate(10, 10, T::ie1g));
  SetMaxImagePixels(limit);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.PixelType(), T::ieNone);
}

TEST(IEBitmap, TemporaryFileLivesExactlyWhileAllocated) {
  test::TempDir dir;
  ScopedTempFolder tmp(dir.Path().string());
  EXPECT_FALSE(MappedZiridevFile());
  {
    TIEBitmap b;
    ASSERT_TRUE(b.Allocate(100, 100, T::ie24RGB));
    EXPECT_EQ(b.Location(), L::ieFile);
    EXPECT_TRUE(MappedZiridevFile());
    // Unlinked at once: nothing is left in the folder even if we crash now.
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    b.Release();
    EXPECT_TRUE(b.Empty());
    EXPECT_FALSE(MappedZiridevFile());
    ASSERT_TRUE(b.Allocate(10, 10, T::ie8g));
    EXPECT_TRUE(MappedZiridevFile());
  }
  EXPECT_FALSE(MappedZiridevFile());
}

TEST(IEBitmap, MissingTempFolderFallsBackToTheHeap) {
  test::TempDir dir;
  ScopedTempFolder tmp(dir.File("missing"));
  TIEBitmap b;
  ASSERT_TRUE(b.Allocate(20, 3, T::ie8p));
  EXPECT_EQ(b.Location(), L::ieMemory);
  Paint(b);
  ExpectPainted(b, "heap fallback");
}

TEST(IEBitmap, MoveToHandsOverEverything) {
  TIEBitmap a, b;
  ASSERT_TRUE(b.Allocate(4, 4, T::ie1g));
  ASSERT_TRUE(a.Allocate(9, 5, T::ie8p));
  Paint(a);
  a.MoveTo(b);
  EXPECT_TRUE(a.Empty());
  EXPECT_TRUE(a.Palette().empty());
  EXPECT_EQ(b.Width(), 9);
  EXPECT_EQ(b.PixelType(), T::ie8p);
  ExpectPainted(b, "moved");
}

// A working bitmap of any depth with the given raw rows.
TIEWorkingBitmap RawBitmap(TIEPixelFormat format, int64_t width, std::vector<std::vector<uint8_t>> rows) {
  TIEWorkingBitmap bitmap;
  EXPECT_TRUE(bitmap.Resize(width, int64_t(rows.size()), format));
  for (size_t y = 0; y < rows.size(); ++y) std::copy(rows[y].begin(), rows[y].end(), bitmap.ScanLine(int64_t(y)));
  return bitmap;
}

TEST(IEBitmap, CopyFromBitmapReadsEveryFormat) {
  TIEBitmap b;
  b.SetLocation(L::ieMemory);

  b.CopyFromBitmap(RawBitmap(TIEPixelFormat::pf1bit, 10, {{0xa5, 0xc0}}));
  ASSERT_EQ(b.PixelType(), T::ie1g);
  EXPECT_EQ(b.ScanLine(0)[0], 0xa5);
  EXPECT_EQ(b.ScanLine(0)[1], 0xc0);

  TIEWorkingBitmap red = RawBitmap(TIEPixelFormat::pf1bit, 4, {{0x50}});
  red.Palette() = {{0, 0, 255, 0}, {255, 255, 255, 0}};
  b.CopyFromBitmap(red);
  ASSERT_EQ(b.PixelType(), T::ie8p);
  EXPECT_EQ(std::vector<uint8_t>(b.ScanLine(0), b.ScanLine(0) + 4), (std::vector<uint8_t>{0, 1, 0, 1}));
  EXPECT_EQ(b.Palette()[0].r, 255);
  EXPECT_EQ(b.Palette()[0].b, 0);

  TIEWorkingBitmap nibbles = RawBitmap(TIEPixelFormat::pf4bit, 3, {{0x1f, 0x70}});
  nibbles.Palette().assign(16, {1, 2, 3, 0});
  b.CopyFromBitmap(nibbles);
  ASSERT_EQ(b.PixelType(), T::ie8p);
  EXPECT_EQ(std::vector<uint8_t>(b.ScanLine(0), b.ScanLine(0) + 3), (std::vector<uint8_t>{1, 15, 7}));
  EXPECT_EQ(b.Palette()[15].r, 3);

  b.CopyFromBitmap(RawBitmap(TIEPixelFormat::pf15bit, 1, {{0x1f, 0x7c}}));  // red 31, green 0, blue 31
  ASSERT_EQ(b.PixelType(), T::ie24RGB);
  EXPECT_EQ(std::vector<uint8_t>(b.ScanLine(0), b.ScanLine(0) + 3), (std::vector<uint8_t>{248, 0, 248}));

  b.CopyFromBitmap(RawBitmap(TIEPixelFormat::pf16bit, 1, {{0xe0, 0x07}}));  // green 63
  EXPECT_EQ(std::vector<uint8_t>(b.ScanLine(0), b.ScanLine(0) + 3), (std::vector<uint8_t>{0, 252, 0}));

  b.CopyFromBitmap(RawBitmap(TIEPixelFormat::pf32bit, 2, {{1, 2, 3, 4, 5, 6, 7, 8}}));
  ASSERT_EQ(b.PixelType(), T::ie24RGB);
  EXPECT_EQ(std::vector<uint8_t>(b.ScanLine(0), b.ScanLine(0) + 6), (std::vector<uint8_t>{1, 2, 3, 5, 6, 7}));

  TIEWorkingBitmap two(2, 2, TIEPixelFormat::pf24bit);
  two.ScanLine(0)[0] = 9;
  two.ScanLine(1)[5] = 8;
  b.CopyFromBitmap(two);
  EXPECT_EQ(b.ScanLine(0)[0], 9);
  EXPECT_EQ(b.ScanLine(1)[5], 8);
}

TEST(IEBitmap, CopyToBitmapGivesEachTypeItsPalette) {
  TIEBitmap b;
  b.SetLocation(L::ieMemory);
  TIEWorkingBitmap out;

  ASSERT_TRUE(b.Allocate(3, 1, T::ie8g));
  b.ScanLine(0)[1] = 200;
  b.CopyToBitmap(out);
  ASSERT_EQ(out.PixelFormat(), TIEPixelFormat::pf8bit);
  ASSERT_EQ(out.Palette().size(), 256u);
  EXPECT_EQ(out.Palette()[77], (TRGBQuad{77, 77, 77, 0}));
  EXPECT_EQ(out.Pixel(1, 0), MakeBGR(200, 200, 200));

  ASSERT_TRUE(b.Allocate(2, 1, T::ie16g));
  b.ScanLine(0)[2] = 0xff;
  b.ScanLine(0)[3] = 0x41;
  b.CopyToBitmap(out);
  EXPECT_EQ(out.Pixel(1, 0), MakeBGR(0x41, 0x41, 0x41));

  ASSERT_TRUE(b.Allocate(2, 1, T::ie8p));
  b.Palette()[5] = {10, 20, 30};
  b.ScanLine(0)[0] = 5;
  b.CopyToBitmap(out);
  EXPECT_EQ(out.Pixel(0, 0), MakeBGR(10, 20, 30));

  ASSERT_TRUE(b.Allocate(9, 2, T::ie1g));
  b.ScanLine(1)[0] = 0x80;
  b.CopyToBitmap(out);
  ASSERT_EQ(out.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(out.Pixel(0, 1), kWhite);
  EXPECT_EQ(out.Pixel(1, 1), kBlack);

  ASSERT_TRUE(b.Allocate(2, 2, T::ie24RGB));
  b.ScanLine(1)[3] = 1, b.ScanLine(1)[4] = 2, b.ScanLine(1)[5] = 3;
  b.CopyToBitmap(out);
  ASSERT_EQ(out.PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(out.Pixel(1, 1), MakeBGR(3, 2, 1));
}

}  // namespace
}  // namespace quillet
