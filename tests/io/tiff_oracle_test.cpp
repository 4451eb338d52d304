// TIFF files made by the libtiff tools, ImageMagick and Pillow decode as
// Pillow decodes them, and the files we write pass tiffinfo and decode in
// tiffcp and Pillow to our pixels.
#include <gtest/gtest.h>

#include "tiff_support.h"

namespace quillet::test {
namespace {

using enum TMaker;

bool HaveTiffTools() { return test::Run("tiffcp -h >/dev/null 2>&1; command -v tiffinfo >/dev/null") == 0; }

// The oracle picture as TIFF, in colour or bilevel, for the tools to copy.
std::string TiffSource(const TempDir& dir, const char* mode) {
  const std::string out = dir.File(std::string("source_") + mode + ".tif");
  RunPython("from PIL import Image\nImage.open(r'''" + MakeOraclePicture(dir) + "''').convert('" + mode +
            "').save(r'''" + out + "''')\n");
  return out;
}

TOurDecode OurTiff() {
  return ByCodec(ReadTIFFStream, [](TIOParamsVals&) { InstallDefaultCoders(); });
}

std::vector<TOracleCase> Tiffcp(const std::vector<std::pair<std::string, std::string>>& options) {
  std::vector<TOracleCase> cases;
  for (const auto& [name, how] : options) cases.push_back({name, omShell, "tiffcp " + how + " {in} {out}"});
  return cases;
}

TEST_F(TiffTest, LibtiffToolsFiles) {
  if (!HavePillow() || !HaveTiffTools()) GTEST_SKIP() << "Pillow or the libtiff tools missing";
  TempDir dir;
  const auto colour = Tiffcp({{"none", "-c none"}, {"lzw", "-c lzw"}, {"lzw2", "-c lzw:2"}, {"packbits", "-c packbits"},
                              {"tiles", "-t -c lzw"}, {"planar", "-p separate"}, {"big", "-B -c lzw:2"},
                              {"lsb", "-f lsb2msb"}});
  EXPECT_EQ(CheckOracleCases(dir, TiffSource(dir, "RGB"), ".tif", colour, OurTiff()), 8);
  const auto bilevel = Tiffcp({{"g31d", "-c g3:1d"}, {"g32d", "-c g3:2d"}, {"g32dfill", "-c g3:2d:fill"}, {"g4", "-c g4"},
                               {"g4lsb", "-f lsb2msb -c g4"}, {"g4tiles", "-t -c g4"}, {"bilevel_lzw", "-c lzw"},
                               {"bilevel_packbits", "-c packbits"}});
  EXPECT_EQ(CheckOracleCases(dir, TiffSource(dir, "1"), ".tif", bilevel, OurTiff()), 8);
  // tiffset changes the photometric interpretation of a grey page.
  const std::vector<TOracleCase> photometric = {
      {"whiteiszero", omShell, "cp {in} {out} && tiffset -s 262 0 {out}"}};
  EXPECT_EQ(CheckOracleCases(dir, TiffSource(dir, "L"), ".tif", photometric, OurTiff()), 1);
}

TEST_F(TiffTest, ImageMagickAndPillowFiles) {
  if (!HavePillow() || !HaveImageMagick()) GTEST_SKIP() << "Pillow or ImageMagick missing";
  TempDir dir;
  // CMYK divides as the format's formula says (Pillow rounds); 4-bit grey
  // levels are multiplied by 16 (Pillow by 17).
  const std::vector<TOracleCase> cases = {
      {"cmyk", omMagick, "-colorspace CMYK -compress LZW TIFF:", "", 1},
      {"palette4", omMagick, "-colors 16 -type Palette -depth 4 -compress LZW TIFF:"},
      {"grey4", omMagick, "-colorspace Gray -depth 4 -compress None TIFF:", "", 15},
      {"rgb16", omMagick, "-depth 16 -compress LZW TIFF:", "", 1},
      {"multipage", omShell, "/usr/bin/convert {in} \\( +clone -negate \\) -compress PackBits TIFF:{out}"},
      {"ccitt", omPillow, "im.convert('1')", "compression='tiff_ccitt'"},
      {"group3", omPillow, "im.convert('1')", "compression='group3'"},
      {"group4", omPillow, "im.convert('1')", "compression='group4'"},
  };
  EXPECT_GE(CheckOracleCases(dir, MakeOraclePicture(dir), ".tif", cases, OurTiff()), 7);
}

// Each compression and colour space we write: tiffinfo finds no fault, and
// tiffcp and Pillow read it back as the pixels we wrote.
TEST_F(TiffTest, OurFilesReadElsewhere) {
  if (!HavePillow() || !HaveTiffTools()) GTEST_SKIP() << "Pillow or the libtiff tools missing";
  TempDir dir;
  using C = TIOTIFFCompression;
  using P = TIOTIFFPhotometInterpret;
  struct Case {
    const char* name;
    bool bilevel;
    C compression;
    P photometric;
    int tolerance;
  };
  const Case cases[] = {
      {"mh", true, C::CCITT1D, P::RGB, 0},         {"g31d", true, C::G3FAX1D, P::RGB, 0},
      {"g32d", true, C::G3FAX2D, P::RGB, 0},       {"g4", true, C::G4FAX, P::RGB, 0},
      {"bilevel_lzw", true, C::LZW, P::RGB, 0},    {"bilevel_packbits", true, C::PACKBITS, P::RGB, 0},
      {"lzw", false, C::LZW, P::RGB, 0},           {"packbits", false, C::PACKBITS, P::RGB, 0},
      {"cmyk", false, C::LZW, P::CMYK, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TIEWorkingBitmap image = RandomBitmap(61, 23, c.bilevel ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit, 11);
    const std::string file = dir.File(std::string(c.name) + ".tif"), copy = dir.File(std::string(c.name) + "_none.tif");
    WriteFileBytes(file, EncodeTiff(image, c.compression, c.photometric));
    EXPECT_EQ(test::Run("test -z \"$(tiffinfo -D " + file + " 2>&1 >/dev/null)\""), 0) << "tiffinfo complains";
    ASSERT_EQ(test::Run("tiffcp -c none " + file + " " + copy + " 2>/dev/null"), 0);
    for (const std::string& f : {file, copy})
      ExpectLikePillow(dir, f, [&](const std::vector<uint8_t>&) {
        TOurImage ours;
        ours.ok = true;
        ours.bitmap = image;
        return ours;
      }, c.tolerance);
  }
}

}  // namespace
}  // namespace quillet::test
