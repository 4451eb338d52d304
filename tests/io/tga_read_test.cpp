// Targa reading: hand-made headers, colour maps, packets and guards; the
// extension area's defaults; files from Pillow, netpbm and ImageMagick read
// beside Pillow's decoding.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/tga/tga_codec.h"

namespace quillet::test {
namespace {

using enum TMaker;

struct TTgaSpec {
  int type = 2, depth = 24, width = 2, height = 2, descriptor = 0x20;
  int mapFirst = 0, mapBits = 0;
  std::vector<uint8_t> map = {};  // raw entries; a colour map when mapBits is set
  std::string id = {};
};

std::vector<uint8_t> MakeTga(const TTgaSpec& s, const std::vector<uint8_t>& data) {
  Bytes b;
  const int entries = s.mapBits ? int(s.map.size()) / ((s.mapBits + 7) / 8) : 0;
  b.u8(uint8_t(s.id.size())).u8(s.mapBits ? 1 : 0).u8(uint8_t(s.type));
  b.u16(uint16_t(s.mapFirst)).u16(uint16_t(entries)).u8(uint8_t(s.mapBits));
  b.u16(3).u16(4).u16(uint16_t(s.width)).u16(uint16_t(s.height)).u8(uint8_t(s.depth)).u8(uint8_t(s.descriptor));
  b.v.insert(b.v.end(), s.id.begin(), s.id.end());
  b.v.insert(b.v.end(), s.map.begin(), s.map.end());
  b.v.insert(b.v.end(), data.begin(), data.end());
  return b.v;
}

// Blue, green, red bytes of 0xRRGGBB colours.
std::vector<uint8_t> Bgr(std::initializer_list<uint32_t> colours) {
  std::vector<uint8_t> out;
  for (uint32_t c : colours) out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
  return out;
}

TEST(TgaRead, HandMadeFiles) {
  const std::vector<uint8_t> four = Bgr({0x010203, 0x040506, 0x070809, 0x0A0B0C});
  const std::vector<uint32_t> fourRgb = {0x010203, 0x040506, 0x070809, 0x0A0B0C};
  std::vector<uint8_t> rle = {0x83};  // one packet for all four pixels, and one more past the image
  rle.insert(rle.end(), {9, 8, 7, 0x81, 1, 2, 3});
  const std::vector<TReadCase> cases = {
      {"top-down", MakeTga({}, four), fourRgb},
      {"bottom-up", MakeTga({.descriptor = 0}, four), {0x070809, 0x0A0B0C, 0x010203, 0x040506}},
      {"right to left", MakeTga({.descriptor = 0x30}, four), {0x040506, 0x010203, 0x0A0B0C, 0x070809}},
      {"packet across rows", MakeTga({.type = 10}, rle), {0x070809, 0x070809, 0x070809, 0x070809}},
      {"literal past the image",
       MakeTga({.type = 10, .height = 1, .descriptor = 0}, {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
       {0x030201, 0x060504}},
      {"32 bits, alpha skipped", MakeTga({.depth = 32, .height = 1}, {1, 2, 3, 99, 4, 5, 6, 0}), {0x030201, 0x060504}},
      {"16 bits 5-5-5", MakeTga({.depth = 16, .height = 1}, {0x1F, 0x80, 0xE0, 0x03}), {0x0000F8, 0x00F800}},
      {"grey ramp", MakeTga({.type = 3, .depth = 8, .height = 1}, {7, 200}), {0x070707, 0xC8C8C8}},
      {"grey and alpha", MakeTga({.type = 11, .depth = 16, .height = 1}, {0x81, 7, 0}), {0x070707, 0x070707}},
      {"colour map of 24 bits",
       MakeTga({.type = 1, .depth = 8, .height = 1, .mapBits = 24, .map = Bgr({0xFF0000, 0x00FF00})}, {1, 0}),
       {0x00FF00, 0xFF0000}},
      {"colour map of 16 bits",
       MakeTga({.type = 9, .depth = 8, .height = 1, .mapBits = 16, .map = {0x00, 0x7C}}, {0x81, 0}),
       {0xF80000, 0xF80000}},
      {"map over the cube, past 255 dropped",
       MakeTga({.type = 1, .depth = 8, .height = 1, .mapFirst = 255, .mapBits = 32, .map = {1, 2, 3, 4, 5, 6, 7, 8}},
               {255, 0}),
       {0x030201, 0x1C1C3C}},
      {"unknown entry size skipped",
       MakeTga({.type = 1, .depth = 8, .height = 1, .mapBits = 8, .map = {9, 9}}, {0xFF, 0x25}),
       {0xFCFCFC, 0x3C3C7C}},
      {"1 bit as stored",
       MakeTga({.type = 3, .depth = 1, .width = 10, .height = 1}, {0x80, 0xFF}),
       {0xFFFFFF, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF, 0xFFFFFF}},
      {"1 bit packets count bytes",
       MakeTga({.type = 11, .depth = 1, .width = 9, .height = 2}, {0x83, 0x40}),
       {0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 0}},
      {"1 bit right to left",
       MakeTga({.type = 3, .depth = 1, .width = 3, .height = 1, .descriptor = 0x30}, {0xC0}),
       {0, 0xFFFFFF, 0xFFFFFF}},
      {"data ends early",
       MakeTga({.descriptor = 0}, Bgr({0x010203, 0x040506, 0x070809})),
       {0x070809, 0x000000, 0x010203, 0x040506},
       true},
      {"packet cut", MakeTga({.type = 10, .height = 1}, {0x81, 1}), {0, 0}, true},
      {"zero width", MakeTga({.width = 0}, {}), {}, true},
      {"depth 4", MakeTga({.type = 1, .depth = 4}, {0, 0}), {}, true},
      {"unknown type", MakeTga({.type = 5}, four), {}, true},
      {"header cut", {0, 0, 2, 0, 0}, {}, true},
  };
  CheckReadCases(ReadTGAStream, cases);
}

TEST(TgaRead, Parameters) {
  SetParamsClock([] { return 45000.0; });
  const Decoded mapped = Decode(
      ReadTGAStream,
      MakeTga({.type = 9, .depth = 8, .mapBits = 24, .map = Bgr({1, 2, 3}), .id = std::string("name\0pad", 8)}, {}), {},
      true);
  EXPECT_FALSE(mapped.aborted);
  EXPECT_EQ(mapped.params.TgaDescriptor, "name");
  EXPECT_EQ(mapped.params.ColorMapCount, 3);
  EXPECT_FALSE(mapped.params.TgaGrayLevel);
  EXPECT_TRUE(mapped.params.TgaCompressed);
  EXPECT_EQ(mapped.params.TgaXPos, 3);
  EXPECT_EQ(mapped.params.TgaYPos, 4);
  // No footer: the extension area's defaults.
  EXPECT_DOUBLE_EQ(mapped.params.TgaGamma, 2.2);
  EXPECT_DOUBLE_EQ(mapped.params.TgaAspectRatio, 1.0);
  EXPECT_EQ(mapped.params.TgaBackground, kBlack);
  EXPECT_DOUBLE_EQ(mapped.params.TgaDate, 45000.0);

  const std::vector<std::tuple<int, int, int, int>> depths = {
      {3, 1, 1, 1}, {3, 8, 8, 1}, {2, 16, 5, 3}, {2, 24, 8, 3}, {2, 32, 8, 4}};
  for (const auto& [type, depth, bits, samples] : depths) {
    const Decoded d = Decode(ReadTGAStream, MakeTga({.type = type, .depth = depth}, {}), {}, true);
    EXPECT_EQ(d.params.BitsPerSample, bits) << depth;
    EXPECT_EQ(d.params.SamplesPerPixel, samples) << depth;
    EXPECT_EQ(d.params.TgaGrayLevel, depth == 8) << depth;
  }

  // A footer whose extension offset lies outside the data gives no extension data.
  std::vector<uint8_t> file = MakeTga({}, Bgr({1, 2, 3, 4}));
  Bytes footer;
  footer.u32(5000).u32(0);
  for (char ch : std::string("TRUEVISION-XFILE.")) footer.u8(uint8_t(ch));
  footer.u8(0);
  file.insert(file.end(), footer.v.begin(), footer.v.end());
  const Decoded far = Decode(ReadTGAStream, file);
  EXPECT_FALSE(far.aborted) << far.error;
  EXPECT_DOUBLE_EQ(far.params.TgaGamma, 2.2);

  // A cancel keeps the rows done, bottom-up as they come.
  const Decoded cancelled = Decode(ReadTGAStream, MakeTga({.descriptor = 0}, Bgr({1, 2, 3, 4})), {}, false, 50);
  EXPECT_TRUE(cancelled.aborted);
  EXPECT_EQ(Colours(cancelled.bitmap), (std::vector<uint32_t>{0xFFFFFF, 0xFFFFFF, 1, 2}));
  SetParamsClock({});
}

TEST(TgaOracle, PillowNetpbmAndImageMagickFiles) {
  if (!HavePillow() || !HaveImageMagick() || test::Run("command -v pamtotga pngtopnm >/dev/null") != 0)
    GTEST_SKIP() << "Pillow, ImageMagick or netpbm missing";
  TempDir dir;
  const std::string source = MakeOraclePicture(dir);
  std::vector<TOracleCase> cases;
  for (const char* mode : {"L", "P", "RGB", "RGBA", "LA"})
    for (const auto& [orientation, origin] : {std::pair{"1", "tl"}, {"-1", "bl"}})
      for (const char* compression : {"None", "'tga_rle'"})
        cases.push_back({std::string("pillow_") + mode + "_" + origin + (compression[0] == 'N' ? "" : "_rle"), omPillow,
                         std::string("im.convert('") + mode + "')",
                         std::string("orientation=") + orientation + ", compression=" + compression});
  cases.push_back({"pillow_1", omPillow, "im.convert('1')"});
  for (const std::string option : {"-rgb", "-cmap", "-mono", "-rgb -norle", "-cmap -norle"})
    cases.push_back({"netpbm" + std::to_string(cases.size()), omShell,
                     "pngtopnm {in} | " +
                         std::string(option[1] == 'm'   ? "ppmtopgm | "
                                     : option[1] == 'c' ? "pnmquant 200 2>/dev/null | "
                                                        : "") +
                         "pamtotga " + option + " > {out}"});
  for (const char* type : {"TGA:", "-type Palette TGA:", "-type Grayscale TGA:", "-compress RLE TGA:"})
    cases.push_back({"magick" + std::to_string(cases.size()), omMagick, type});
  EXPECT_EQ(CheckOracleCases(dir, source, ".tga", cases, ByCodec(ReadTGAStream)), int(cases.size()));
}

}  // namespace
}  // namespace quillet::test
