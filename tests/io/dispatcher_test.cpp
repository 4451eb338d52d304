// The I/O component end to end: dispatch by extension and content, the steps
// around a read, safe saving, progress and cancel, descriptions and defaults.
#include <gtest/gtest.h>

#include <filesystem>

#include "codec_harness.h"
#include "imaging/io/auto_dpi.h"
#include "imaging/io/formats/bmp/bmp_codec.h"
#include "imaging/io/ziridev_io.h"

namespace quillet::test {
namespace {

std::vector<uint8_t> SmallBmp(int w = 4, int h = 3) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y) b.ScanLine(y)[0] = uint8_t(40 * y);
  TIOParamsVals p;
  return Encode(WriteBMPStream, b, p);
}

struct IoFixture : ::testing::Test {
  TempDir dir;
  TIEWorkingBitmap bitmap;
  TZiridEvIO io;
  void SetUp() override {
    io.SetAttachedBitmap(&bitmap);
    io.AutoAdjustDPI = false;
  }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string f = dir.File(name);
    WriteFileBytes(f, bytes);
    return f;
  }
};

TEST_F(IoFixture, ExtensionsPickTheCodec) {
  const std::string bmp = Write("Picture.BMP", SmallBmp());
  io.LoadFromFile(bmp);
  EXPECT_FALSE(io.Aborting) << io.LastError;
  EXPECT_EQ(io.Params.FileType, ftBMP);
  EXPECT_EQ(io.Params.FileName, bmp);
  EXPECT_EQ(bitmap.Width(), 4);

  io.LoadFromFile(Write("x.xyz", SmallBmp()));
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(io.Params.FileType, ftNone);
  EXPECT_EQ(io.Params.FileName, "");

  // .pix and .win are Targa, whatever they hold.
  for (const char* name : {"image.pix", "x.win"}) {
    io.LoadFromFile(Write(name, SmallBmp()));
    EXPECT_TRUE(io.Aborting) << name;
    EXPECT_EQ(io.LastError, "not a Targa file") << name;
  }
  io.LoadFromFile(Write("scan.TIF", SmallBmp()));  // read as TIFF, whatever it holds
  EXPECT_EQ(io.LastError, "not a TIFF file (or a BigTIFF one)");
  io.ImportMetafile(dir.File("a.wmf"), 0, 10);
  EXPECT_FALSE(io.Aborting);
  io.LoadFromFile(Write("a.wmf", {1, 2, 3}));
  EXPECT_TRUE(io.Aborting);
}

TEST_F(IoFixture, MissingFileIsAFailureNotAnException) {
  io.LoadFromFile(dir.File("gone.bmp"));
  EXPECT_TRUE(io.Aborting);
  EXPECT_NE(io.LastError.find("No such file"), std::string::npos) << io.LastError;
}

TEST_F(IoFixture, StreamReadsDetectTheFormat) {
  std::vector<uint8_t> bytes = {9, 9, 9};
  const auto bmp = SmallBmp(5, 2);
  bytes.insert(bytes.end(), bmp.begin(), bmp.end());
  bytes.insert(bytes.end(), {7, 7});
  TIEMemoryStream s(bytes.data(), int64_t(bytes.size()));
  s.Seek(3, TSeekOrigin::soBeginning);
  io.LoadFromStream(s);
  EXPECT_FALSE(io.Aborting) << io.LastError;
  EXPECT_EQ(io.Params.FileType, ftBMP);
  EXPECT_EQ(io.Params.FileName, "");
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(s.Position(), int64_t(3 + bmp.size()));

  const std::vector<uint8_t> junk(64, 0x42);
  TIEMemoryStream j(junk.data(), int64_t(junk.size()));
  io.LoadFromStream(j);
  EXPECT_TRUE(io.Aborting);
}

TEST(Detect, ContentTestsInOrder) {
  auto detect = [](const std::vector<uint8_t>& b) {
    TIEMemoryStream s(b.data(), int64_t(b.size()));
    const int32_t code = TZiridEvIO::DetectStreamFormat(s);
    EXPECT_EQ(s.Position(), 0);
    return code;
  };
  std::vector<uint8_t> jpeg(200, 0);
  jpeg[40] = 0xFF, jpeg[41] = 0xD8, jpeg[42] = 0xFF;
  EXPECT_EQ(detect(jpeg), ftJPEG);
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
  EXPECT_EQ(detect(gif), ftNone);
  gif.resize(14, 0);
  EXPECT_EQ(detect(gif), ftGIF);
  std::vector<uint8_t> pcx = {'P', 'C', 'X', '2', 0, 0, 0, 0};
  pcx.resize(20, 1);
  EXPECT_EQ(detect(pcx), ftPCX);
  const std::string pbm = "P1\n2 2\n0 1\n1 0\n";
  EXPECT_EQ(detect(std::vector<uint8_t>(pbm.begin(), pbm.end())), ftPXM);
  EXPECT_EQ(detect(SmallBmp()), ftBMP);
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0};
  EXPECT_EQ(detect(png), ftPNG);
}

TEST_F(IoFixture, FileDetectionChecksTheExtension) {
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  const std::string pngAsGif = Write("a.gif", png);
  EXPECT_EQ(TZiridEvIO::DetectFileFormat(pngAsGif, true), ftNone);
  EXPECT_EQ(TZiridEvIO::DetectFileFormat(pngAsGif, false), ftPNG);
  Bytes icon;
  icon.u16(0).u16(1).u16(1).u8(16).u8(16).u8(0).u8(0).u16(1).u16(4).u32(40).u32(22).zeros(40);
  const std::string iconAsCur = Write("a.cur", icon.v);
  EXPECT_EQ(TZiridEvIO::DetectFileFormat(iconAsCur, true), ftCUR);
  EXPECT_EQ(TZiridEvIO::DetectFileFormat(iconAsCur, false), ftICO);
  EXPECT_EQ(TZiridEvIO::DetectFileFormat(Write("a.png", icon.v), true), ftNone);
  EXPECT_EQ(TZiridEvIO::DetectFileFormat(dir.File("none.bmp"), false), ftNone);
}

TEST_F(IoFixture, FailedSaveKeepsTheOldFile) {
  const std::string target = Write("keep.bmp", {1, 2, 3, 4});
  bitmap.Resize(50, 50, TIEPixelFormat::pf24bit);
  io.OnProgress = [](TZiridEvIO* sender, int per) {
    if (per >= 30) sender->Aborting = true;
  };
  io.SaveToFile(target);
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

  io.OnProgress = nullptr;
  io.SaveToFile(target);
  EXPECT_FALSE(io.Aborting) << io.LastError;
  EXPECT_EQ(ReadFileBytes(target).size(), 54u + 152 * 50);
}

TEST_F(IoFixture, SavesThatCannotHappenCreateNoFile) {
  bitmap.Resize(3, 3, TIEPixelFormat::pf24bit);
  io.SaveToFile(dir.File("a.xyz"));
  EXPECT_TRUE(io.Aborting);
  io.SaveToFile(dir.File("a.ico"));
  EXPECT_TRUE(io.Aborting);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  io.SaveToFile(dir.File("no/such/folder/a.bmp"));
  EXPECT_TRUE(io.Aborting);
  EXPECT_FALSE(io.LastError.empty());
}

TEST_F(IoFixture, WritersLeaveTheBitmapAlone) {
  bitmap.Resize(6, 4, TIEPixelFormat::pf1bit);
  SetBit(bitmap.ScanLine(2), 3, false);
  const TIEWorkingBitmap before = bitmap;
  io.Params.BitsPerSample = 24;
  TIEMemoryStream out;
  io.SaveToStreamFormat(out, ftBMP);
  EXPECT_FALSE(io.Aborting);
  EXPECT_EQ(RgbBytes(bitmap), RgbBytes(before));
  EXPECT_EQ(bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
}

TEST_F(IoFixture, ProgressReachesTheHandlerAndCancelStops) {
  const std::string f = Write("tall.bmp", SmallBmp(2, 40));
  std::vector<int> seen;
  io.OnProgress = [&](TZiridEvIO* sender, int per) {
    EXPECT_EQ(sender, &io);
    seen.push_back(per);
  };
  io.LoadFromFile(f);
  EXPECT_EQ(seen.size(), 40u);
  io.OnProgress = [](TZiridEvIO* sender, int) { sender->Aborting = true; };
  io.LoadFromFile(f);
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(io.LastError, "cancelled");
}

// Formats without transparency leave an attached alpha plane opaque at the
// size of the image read.
TEST_F(IoFixture, OpaqueAlphaAfterFormatsWithoutTransparency) {
  TIEMask alpha;
  io.SetAlphaMask(&alpha);
  for (const char* name : {"a.pcx", "a.ppm"}) {
    bitmap = TIEWorkingBitmap(5, 3, TIEPixelFormat::pf24bit);
    alpha.Allocate(2, 2, 8);
    io.SaveToFile(dir.File(name));
    ASSERT_FALSE(io.Aborting) << name << ": " << io.LastError;
    io.LoadFromFile(dir.File(name));
    ASSERT_FALSE(io.Aborting) << name << ": " << io.LastError;
    ASSERT_EQ(alpha.Width() * 10 + alpha.Height(), 53) << name;
    for (int64_t y = 0; y < 3; ++y)
      for (int64_t x = 0; x < 5; ++x) EXPECT_EQ(alpha.GetPixel(x, y), 255) << name;
  }
}

TEST_F(IoFixture, ParamsOnlyReadsDoNotTouchTheBitmap) {
  const std::string f = Write("p.bmp", SmallBmp(9, 7));
  bitmap.Resize(2, 2, TIEPixelFormat::pf24bit);
  io.ParamsFromFile(f);
  EXPECT_FALSE(io.Aborting);
  EXPECT_EQ(io.Params.FileType, ftBMP);
  EXPECT_EQ(io.Params.Width, 9);
  EXPECT_EQ(io.Params.Height, 7);
  EXPECT_EQ(bitmap.Width(), 2);
  io.ParamsFromFile(Write("q.bmp", {'B', 'M', 0}));
  EXPECT_EQ(io.Params.FileType, ftNone);
}

TEST(FileDescription, NamesTheFormatAndItsVariant) {
  TIOParamsVals p;
  p.FileType = ftTIFF;
  p.TiffCompression = TIOTIFFCompression::LZW;
  EXPECT_EQ(TZiridEvIO::FileDescription(p), "TIFF Bitmap (TIF) LZW");
  p.FileType = ftBMP;
  p.BmpVersion = 2;
  EXPECT_EQ(TZiridEvIO::FileDescription(p), "Windows Bitmap (BMP) OS/2 v.1");
  p.FileType = ftTGA;
  p.TgaCompressed = false;
  EXPECT_EQ(TZiridEvIO::FileDescription(p), "Targa Bitmap (TGA) Uncompressed");
  p.FileType = ftJPEG;
  p.JpegColorSpace = TIOJPEGColorspace::RGB;
  EXPECT_EQ(TZiridEvIO::FileDescription(p), "JPEG Bitmap (JPG)");
  p.FileType = ftPCX;
  p.PcxCompression = 0;
  EXPECT_EQ(TZiridEvIO::FileDescription(p), "PaintBrush (PCX) Uncompressed");
  p.FileType = ftNone;
  EXPECT_EQ(TZiridEvIO::FileDescription(p), "");
}

TEST(Params, ResetRestoresTheDefaults) {
  TIOParamsVals p;
  p.JpegQuality = 90, p.PngCompression = 9, p.PcxVersion = 0, p.TgaGamma = 1.0, p.GifVersion = "GIF87a";
  p.CurXHotSpot = 5, p.BmpVersion = 3, p.JpegScale = 4;
  p.SetColorMap({kWhite, kBlack});
  p.ExifThumbnail.Resize(10, 10, TIEPixelFormat::pf24bit);
  p.Reset();
  EXPECT_EQ(p.JpegQuality, 50);
  EXPECT_EQ(p.PngCompression, 5);
  EXPECT_EQ(p.PcxVersion, 5);
  EXPECT_DOUBLE_EQ(p.TgaGamma, 2.2);
  EXPECT_EQ(p.GifVersion, "GIF89a");
  EXPECT_EQ(p.CurXHotSpot, 0);
  EXPECT_EQ(p.CurYHotSpot, 0);
  EXPECT_EQ(p.ColorMapCount, 0);
  EXPECT_EQ(p.TiffPhotometric, TIOTIFFPhotometInterpret::RGB);
  EXPECT_EQ(p.BmpVersion, 1);
  EXPECT_EQ(p.JpegScale, 1);
  EXPECT_EQ(p.ExifThumbnail.Width(), 1);
  EXPECT_EQ(p.ExifThumbnail.Height(), 1);
}

TEST(AutoDpi, EqualisesAlongTheShorterSide) {
  TIEWorkingBitmap b(200, 100, TIEPixelFormat::pf24bit);
  TIOParamsVals p;
  p.DpiX = 200, p.DpiY = 100;
  EXPECT_TRUE(EqualizeDpi(b, p));
  EXPECT_EQ(b.Width(), 200);
  EXPECT_EQ(b.Height(), 200);
  EXPECT_EQ(p.DpiY, 200);
  EXPECT_EQ(p.Height, 200);

  TIEWorkingBitmap tall(100, 300, TIEPixelFormat::pf24bit);
  p.DpiX = 100, p.DpiY = 200;
  EXPECT_TRUE(EqualizeDpi(tall, p));
  EXPECT_EQ(tall.Width(), 200);
  EXPECT_EQ(tall.Height(), 300);
  EXPECT_EQ(p.DpiX, 200);
  EXPECT_EQ(p.Width, 200);

  for (auto [dx, dy] : {std::pair{0, 100}, {100, -5}, {1, 2000000000}}) {
    TIEWorkingBitmap same(100, 300, TIEPixelFormat::pf24bit);
    p.DpiX = dx, p.DpiY = dy;
    EXPECT_FALSE(EqualizeDpi(same, p)) << dx << "," << dy;
    EXPECT_EQ(same.Width(), 100);
    EXPECT_EQ(p.DpiX, dx);
  }
}

}  // namespace
}  // namespace quillet::test
