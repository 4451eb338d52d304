// Every writer given the parameters another reader left behind (16-bit grey
// and RGBA PNG, 4 and 8-bit BMP, CMYK JPEG): the file opens in Pillow at the
// size of the picture and shows the same picture, within what a palette
// or JPEG costs (one sample of 8 bits makes a PXM file a greymap).
#include <gtest/gtest.h>

#include <cstdlib>

#include "imaging/io/default_coders.h"
#include "imaging/io/ziridev_io.h"
#include "support/oracle_harness.h"

namespace quillet::test {
namespace {

// Pillow shows 16-bit grey as its high bytes.
constexpr const char* kHighBytes =
    "import numpy as np\n"
    "if im.mode.startswith('I'): im = Image.fromarray((np.asarray(im, dtype=np.uint32) >> 8).astype('uint8'))";

// Mean difference per channel between our picture, or its grey for a
// greymap, and Pillow's decoding of `file`.
double MeanDifference(const TempDir& dir, const std::string& file, const TIEWorkingBitmap& picture) {
  const bool grey = ReadFileBytes(file).at(1) == '5';
  RawImage shown;
  const std::string pam = dir.File("shown.pam"), ppm = dir.File("shown.ppm");
  const bool pcx = file.ends_with(".pcx");  // Pillow reads no packed 4-bit PCX
  if (pcx && Run("pcxtoppm " + file + " > " + ppm + " 2>/dev/null") != 0) return 1e9;
  if (!PillowDecode(pcx ? ppm : file, pam, false, kHighBytes) || !ReadPam(pam, shown)) return 1e9;
  if (shown.width != picture.Width() || shown.height != picture.Height()) return 1e9;
  double sum = 0;
  for (int y = 0; y < shown.height; ++y)
    for (int x = 0; x < shown.width; ++x) {
      TBGR c = picture.Pixel(x, y);
      if (grey) c.r = c.g = c.b = uint8_t((21 * c.r + 71 * c.g + 7 * c.b) / 100);
      const uint8_t* s = shown.At(x, y);
      sum += std::abs(c.r - s[0]) + std::abs(c.g - s[1]) + std::abs(c.b - s[2]);
    }
  return sum / (3.0 * shown.width * shown.height);
}

TEST(WriterParams, EveryWriterTakesWhatOtherReadersLeave) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  InstallDefaultCoders();
  TempDir dir;
  const std::string source = MakeOraclePicture(dir);
  const std::pair<TOracleCase, const char*> inputs[] = {
      {{"grey16", TMaker::omMagick, "-colorspace Gray -depth 16 PNG:"}, ".png"},
      {{"rgba", TMaker::omMagick, "-alpha set -channel A -evaluate set 60% +channel PNG32:"}, ".png"},
      {{"four_bit", TMaker::omShell, "pngtopnm {in} | pnmquant 16 2>/dev/null | ppmtobmp -bpp 4 > {out}"}, ".bmp"},
      {{"palette", TMaker::omPillow, "im.quantize(256)"}, ".bmp"},
      {{"cmyk", TMaker::omMagick, "-colorspace CMYK -quality 95 JPG:"}, ".jpg"},
  };
  const std::string extensions[] = {".bmp", ".pcx", ".ppm", ".pgm", ".tif", ".gif", ".png", ".jpg"};
  for (const auto& [input, ext] : inputs) {
    const std::string file = MakeOracleFile(dir, source, input, ext);
    ASSERT_FALSE(file.empty()) << input.name;
    TIEWorkingBitmap picture;
    TZiridEvIO io;
    io.SetAttachedBitmap(&picture);
    io.LoadFromFile(file);
    ASSERT_FALSE(io.Aborting) << input.name << ": " << io.LastError;
    const TIOParamsVals left = io.Params;
    for (const std::string& as : extensions) {
      SCOPED_TRACE(input.name + " as " + as);
      io.Params = left;
      const std::string out = dir.File("out" + as);
      io.SaveToFile(out);
      ASSERT_FALSE(io.Aborting) << io.LastError;
      EXPECT_LE(MeanDifference(dir, out, picture), as == ".jpg" ? 20.0 : 12.0) << "bits " << left.BitsPerSample << " samples "
                                                         << left.SamplesPerPixel;
    }
  }
}

}  // namespace
}  // namespace quillet::test
