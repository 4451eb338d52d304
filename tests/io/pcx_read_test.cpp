// PCX reading: hand-made headers and data for the layouts, the checks and
// runs across lines; files from netpbm, Pillow and ImageMagick read beside
// Pillow's and netpbm's decoding.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/core/engine_settings.h"
#include "imaging/io/formats/pcx/pcx_codec.h"

namespace quillet::test {
namespace {

using enum TMaker;

struct TPcxSpec {
  int bits = 8, planes = 1, lineBytes = 2;
  int width = 2, height = 2, dpiX = 72, dpiY = 72;
  bool rle = true;
  std::vector<TBGR> colours = {};  // header palette entries
};

// A header, `data`, and for 8 bits × 1 plane a trailing palette of grey i at index i.
std::vector<uint8_t> MakePcx(const TPcxSpec& s, const std::vector<uint8_t>& data, bool trailing = true) {
  Bytes b;
  b.u8(10).u8(5).u8(s.rle ? 1 : 0).u8(uint8_t(s.bits)).u16(3).u16(7);
  b.u16(uint16_t(3 + s.width - 1)).u16(uint16_t(7 + s.height - 1)).u16(uint16_t(s.dpiX)).u16(uint16_t(s.dpiY));
  for (int i = 0; i < 16; ++i) {
    const TBGR c = i < int(s.colours.size()) ? s.colours[size_t(i)] : kBlack;
    b.u8(c.r).u8(c.g).u8(c.b);
  }
  b.u8(0).u8(uint8_t(s.planes)).u16(uint16_t(s.lineBytes)).u16(1).zeros(58);
  b.v.insert(b.v.end(), data.begin(), data.end());
  if (s.bits == 8 && s.planes == 1 && trailing) {
    b.u8(0x0C);
    for (int i = 0; i < 256; ++i) b.u8(uint8_t(i)).u8(uint8_t(i)).u8(uint8_t(i));
  }
  return b.v;
}

const TBGR kRed = MakeBGR(255, 0, 0), kBlue = MakeBGR(0, 0, 255);

TEST(PcxRead, HandMadeFiles) {
  const std::vector<TReadCase> cases = {
      {"run across plane lines", MakePcx({}, {0xC3, 0x05, 0xC1, 0x07}), {0x050505, 0x050505, 0x050505, 0x070707}},
      {"plain 8 bits", MakePcx({.rle = false}, {1, 2, 3, 4}), {0x010101, 0x020202, 0x030303, 0x040404}},
      {"24 bits in three planes", MakePcx({.planes = 3, .height = 1}, {0xC2, 0xFF, 0xC2, 0x00, 0x10, 0x20}),
       {0xFF0010, 0xFF0020}},
      {"16 colours in four planes",
       MakePcx({.bits = 1, .planes = 4, .height = 1, .rle = false,
                .colours = {kBlack, kRed, kBlue, kWhite, {}, {}, {}, {}, {}, kBlue}},
               {0xC0, 0, 0x40, 0, 0x00, 0, 0x80, 0}),
       {0x0000FF, 0xFFFFFF}},
      {"16 colours packed", MakePcx({.bits = 4, .height = 1, .colours = {kBlack, kRed, kBlue}}, {0x12, 0}),
       {0xFF0000, 0x0000FF}},
      {"1 bit black and white", MakePcx({.bits = 1, .height = 1, .colours = {kBlack, kWhite}}, {0x40, 0}),
       {0x000000, 0xFFFFFF}},
      {"1 bit with two equal entries", MakePcx({.bits = 1, .height = 1}, {0x40, 0}), {0x000000, 0xFFFFFF}},
      {"1 bit white and black", MakePcx({.bits = 1, .height = 1, .colours = {kWhite, kBlack}}, {0x40, 0}),
       {0xFFFFFF, 0x000000}},
      {"1 bit in two colours", MakePcx({.bits = 1, .height = 1, .colours = {kRed, kBlue}}, {0x40, 0}),
       {0xFF0000, 0x0000FF}},
      {"data ends early", MakePcx({.bits = 4, .height = 3, .rle = false, .colours = {kBlack, kRed}}, {0x01, 0, 0x10}),
       {0x000000, 0xFF0000, 0xFF0000, 0x000000, 0xFFFFFF, 0xFFFFFF}, true},
      {"no data at all", MakePcx({.bits = 4, .height = 1, .rle = false}, {}), {0x000000, 0x000000}, true},
      {"run cut at the end", MakePcx({.planes = 3, .height = 1}, {0x09, 0xC3}), {0x090000, 0x000000}, true},
      {"2 bits packed", MakePcx({.bits = 2, .height = 1}, {0x12, 0}), {0xFFFFFF, 0xFFFFFF}, true},
      {"8 bits in four planes", MakePcx({.planes = 4, .height = 1}, std::vector<uint8_t>(8, 1)), {}, true},
      {"bytes per line too small", MakePcx({.lineBytes = 1}, {1, 2, 3, 4}), {}, true},
      {"no planes", MakePcx({.planes = 0}, {1, 2, 3, 4}), {}, true},
      {"no room for the trailing palette", MakePcx({}, {1, 2, 3, 4}, false), {}, true},
      {"header cut", std::vector<uint8_t>(100, 10), {}, true},
  };
  CheckReadCases(ReadPCXStream, cases);
}

TEST(PcxRead, Parameters) {
  auto file = MakePcx({.width = 3, .dpiX = 0, .dpiY = 300}, {0xC3, 0x05, 0xC3, 0x07});
  file[8] = 2, file[9] = 0;  // Xmax below Xmin
  EXPECT_TRUE(Decode(ReadPCXStream, file).aborted);

  const Decoded screen = Decode(ReadPCXStream, MakePcx({.dpiX = 0, .dpiY = 300}, {}), {}, true);
  EXPECT_EQ(screen.params.DpiX, StartupMetrics().DpiX);
  EXPECT_EQ(screen.params.DpiY, StartupMetrics().DpiY);
  EXPECT_EQ(screen.params.ColorMapCount, 256);
  EXPECT_EQ(screen.params.PcxVersion, 5);

  const Decoded planar = Decode(ReadPCXStream, MakePcx({.bits = 1, .planes = 4, .height = 1, .dpiX = 150}, {}), {}, true);
  EXPECT_EQ(planar.params.DpiX, 150);
  EXPECT_EQ(planar.params.BitsPerSample, 4);
  EXPECT_EQ(planar.params.SamplesPerPixel, 1);
  EXPECT_EQ(planar.params.ColorMapCount, 16);
}

// Our decoding of `pcx` beside netpbm's (pcxtoppm), shown through Pillow.
void ExpectLikeNetpbm(const TempDir& dir, const std::string& pcx) {
  const std::string ppm = dir.File("netpbm.ppm");
  ASSERT_EQ(Run("pcxtoppm " + pcx + " > " + ppm + " 2>/dev/null"), 0) << pcx;
  ExpectLikePillow(dir, ppm, [&](const std::vector<uint8_t>&) { return ByCodec(ReadPCXStream)(ReadFileBytes(pcx)); });
}

TEST(PcxOracle, NetpbmPillowAndImageMagickFiles) {
  if (!HavePillow() || !HaveImageMagick() || test::Run("command -v ppmtopcx pcxtoppm pnmquant >/dev/null") != 0)
    GTEST_SKIP() << "Pillow, ImageMagick or netpbm missing";
  TempDir dir;
  const std::string source = MakeOraclePicture(dir);
  // Pillow reads neither packed 4-bit files nor the colours of 1-bit ones.
  const std::vector<TOracleCase> bothReaders = {
      {"ppm_24", omShell, "pngtopnm {in} | ppmtopcx -24bit > {out}"},
      {"ppm_8", omShell, "pngtopnm {in} | ppmtopcx -8bit > {out}"},
      {"ppm_planes4", omShell, "pngtopnm {in} | pnmquant 16 2>/dev/null | ppmtopcx -planes 4 > {out}"},
      {"pillow_L", omPillow, "im.convert('L')"},
      {"pillow_P", omPillow, "im.convert('P')"},
      {"pillow_RGB", omPillow, "im.convert('RGB')"},
      {"magick", omMagick, "PCX:"},
      {"magick_palette", omMagick, "-type Palette PCX:"},
      {"magick_mono", omMagick, "-monochrome PCX:"},
  };
  const std::vector<TOracleCase> netpbmOnly = {
      {"ppm_packed", omShell, "pngtopnm {in} | pnmquant 16 2>/dev/null | ppmtopcx -packed > {out}"},
      {"ppm_two_colours", omShell, "pngtopnm {in} | pnmquant 2 2>/dev/null | ppmtopcx > {out}"},
      {"pillow_1", omPillow, "im.convert('1')"},
  };
  EXPECT_EQ(CheckOracleCases(dir, source, ".pcx", bothReaders, ByCodec(ReadPCXStream)), 9);
  for (const TOracleCase& c : bothReaders) {
    SCOPED_TRACE(c.name);
    if (c.maker == omShell) ExpectLikeNetpbm(dir, dir.File(c.name + ".pcx"));
  }
  for (const TOracleCase& c : netpbmOnly) {
    SCOPED_TRACE(c.name);
    const std::string file = MakeOracleFile(dir, source, c, ".pcx");
    ASSERT_FALSE(file.empty());
    ExpectLikeNetpbm(dir, file);
  }
}

}  // namespace
}  // namespace quillet::test
