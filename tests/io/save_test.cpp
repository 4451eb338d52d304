// Saving beside the target and renaming, and whole round trips through the
// I/O component: file and stream, resolution equalising, metadata clearing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "codec_harness.h"
#include "imaging/io/safe_save.h"
#include "imaging/io/ziridev_io.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

bool WriteText(TIEStream& s, const std::string& text) { return s.WriteExact(text.data(), int64_t(text.size())); }

mode_t ModeOf(const std::string& file) {
  struct stat st;
  return ::stat(file.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(SafeSave, ReplacesOnlyOnSuccess) {
  TempDir dir;
  const std::string target = dir.File("a.bin");
  std::string error;
  ASSERT_TRUE(SafeSave(target, [](TIEStream& s) { return WriteText(s, "first"); }, error)) << error;
  EXPECT_EQ(ReadFileBytes(target), std::vector<uint8_t>({'f', 'i', 'r', 's', 't'}));

  EXPECT_FALSE(SafeSave(target, [](TIEStream& s) { return WriteText(s, "half") && false; }, error));
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(ReadFileBytes(target).size(), 5u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);

  EXPECT_FALSE(SafeSave(dir.File("missing/b.bin"), [](TIEStream&) { return true; }, error));
  EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}

TEST(SafeSave, KeepsPermissionsAndLinks) {
  TempDir dir;
  const std::string target = dir.File("shared.bin");
  WriteFileBytes(target, {1});
  ::chmod(target.c_str(), 0640);
  std::string error;
  ASSERT_TRUE(SafeSave(target, [](TIEStream& s) { return WriteText(s, "new"); }, error)) << error;
  EXPECT_EQ(ModeOf(target), mode_t(0640));

  const std::string link = dir.File("link.bin");
  fs::create_symlink(target, link);
  ASSERT_TRUE(SafeSave(link, [](TIEStream& s) { return WriteText(s, "via link"); }, error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFileBytes(target).size(), 8u);

  const mode_t mask = ::umask(022);
  ASSERT_TRUE(SafeSave(dir.File("fresh.bin"), [](TIEStream& s) { return WriteText(s, "x"); }, error));
  ::umask(mask);
  EXPECT_EQ(ModeOf(dir.File("fresh.bin")), mode_t(0644));
}

struct RoundTrip : ::testing::Test {
  TempDir dir;
  TIEWorkingBitmap image{5, 3, TIEPixelFormat::pf24bit};
  TIEWorkingBitmap loaded;
  TZiridEvIO writer, reader;
  void SetUp() override {
    for (int64_t y = 0; y < image.Height(); ++y)
      for (int64_t x = 0; x < image.Width(); ++x) {
        uint8_t* p = image.ScanLine(y) + 3 * x;
        p[0] = uint8_t(10 * x), p[1] = uint8_t(60 * y), p[2] = uint8_t(x * y + 7);
      }
    writer.SetAttachedBitmap(&image);
    reader.SetAttachedBitmap(&loaded);
  }
};

TEST_F(RoundTrip, BmpFileKeepsEveryPixel) {
  const std::string file = dir.File("round.bmp");
  writer.SaveToFile(file);
  ASSERT_FALSE(writer.Aborting) << writer.LastError;
  reader.LoadFromFile(file);
  ASSERT_FALSE(reader.Aborting) << reader.LastError;
  EXPECT_EQ(RgbBytes(loaded), RgbBytes(image));
  EXPECT_EQ(reader.FileDescription(reader.Params), "Windows Bitmap (BMP) ver.3");

  TIEWorkingBitmap bw(9, 2, TIEPixelFormat::pf1bit);
  SetBit(bw.ScanLine(1), 8, false);
  writer.SetAttachedBitmap(&bw);
  writer.Params.BitsPerSample = 1;
  writer.Params.SamplesPerPixel = 1;
  writer.SaveToFile(file);
  reader.LoadFromFile(file);
  ASSERT_FALSE(reader.Aborting) << reader.LastError;
  EXPECT_EQ(loaded.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(RgbBytes(loaded), RgbBytes(bw));
}

TEST_F(RoundTrip, StreamsWithAndWithoutHeaders) {
  TIEMemoryStream plain, headed;
  writer.SaveToStreamBMP(plain);
  writer.StreamHeaders = true;  // BMP data carries no header either way
  writer.SaveToStreamBMP(headed);
  EXPECT_EQ(plain.Bytes(), headed.Bytes());
  plain.Seek(0, TSeekOrigin::soBeginning);
  reader.LoadFromStream(plain);
  ASSERT_FALSE(reader.Aborting) << reader.LastError;
  EXPECT_EQ(RgbBytes(loaded), RgbBytes(image));
  EXPECT_EQ(plain.Position(), plain.Size());
}

TEST_F(RoundTrip, ReadsEqualiseTheResolution) {
  std::vector<uint8_t> bmp = MakeBmp(4, 2, 24, 0, {}, std::vector<uint8_t>(2 * 12, 0x80));
  Bytes patch{bmp};
  patch.put32(38, 7874);  // 200 dpi across
  patch.put32(42, 3937);  // 100 dpi down
  const std::string file = dir.File("wide.bmp");
  WriteFileBytes(file, patch.v);
  reader.LoadFromFile(file);
  ASSERT_FALSE(reader.Aborting) << reader.LastError;
  EXPECT_EQ(loaded.Width(), 4);
  EXPECT_EQ(loaded.Height(), 4);
  EXPECT_EQ(reader.Params.DpiY, 200);
  EXPECT_EQ(reader.Params.Height, 4);

  reader.AutoAdjustDPI = false;
  reader.LoadFromFile(file);
  EXPECT_EQ(loaded.Height(), 2);
  EXPECT_EQ(reader.Params.DpiY, 100);
}

TEST_F(RoundTrip, ReadsForgetTheLastFilesMetadata) {
  const std::string file = dir.File("meta.bmp");
  writer.SaveToFile(file);
  reader.Params.IptcInfo.Add(2, 5, "old title");
  const uint8_t com[] = {'h', 'i'};
  reader.Params.JpegMarkers.Add(0xFE, com, 2);
  reader.LoadFromFile(file);
  EXPECT_EQ(reader.Params.IptcInfo.Count(), 0);
  EXPECT_EQ(reader.Params.JpegMarkers.Count(), 0);
}

}  // namespace
}  // namespace quillet::test
