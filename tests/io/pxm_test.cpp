// PBM, PGM and PPM: hand-made headers and samples, the exact bytes written,
// files made by netpbm and Pillow read beside Pillow's decoding, and our files
// read back by both.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/formats/png/png_codec.h"
#include "imaging/io/formats/pxm/pxm_codec.h"
#include "imaging/io/ziridev_io.h"

namespace quillet::test {
namespace {

using enum TMaker;

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

bool HaveNetpbm() { return test::Run("command -v pnmtoplainpnm pamdepth pnmtopng pngtopnm >/dev/null") == 0; }

// Grey levels of a decoded image, rows top to bottom.
std::vector<int> Greys(const TIEWorkingBitmap& b) {
  std::vector<int> out;
  for (int64_t y = 0; y < b.Height(); ++y)
    for (int64_t x = 0; x < b.Width(); ++x) out.push_back(b.Pixel(x, y).g);
  return out;
}

struct TTextCase {
  const char* name;
  std::string data;
  std::vector<int> greens;  // the green channel of every pixel; empty: none checked
  bool aborted = false;
};

TEST(PxmRead, HandMadeFiles) {
  const std::string wide = std::string("P5 3 1 1000\n") + '\x03' + '\xE8' + '\x01' + '\xF4' + '\x00' + '\x00';
  const std::vector<TTextCase> cases = {
      {"plain bitmap, 1 is black", "P1\n2 2\n0 1\n1 0\n", {255, 0, 0, 255}},
      {"plain bitmap without separators", "P1 2 2 0110", {255, 0, 0, 255}},
      {"binary bitmap", std::string("P4 2 2\n") + '\x40' + '\x80', {255, 0, 0, 255}},
      {"greymap scaled from 15", std::string("P5 2 1 15\n") + '\x0F' + '\x07', {255, 119}},
      {"plain greymap scaled from 15", "P2 2 1 15\n15 7", {255, 119}},
      {"pixmap scaled from 15", std::string("P6 1 1 15\n") + '\x01' + '\x07' + '\x0F', {119}},
      {"two-byte samples", wide, {255, 127, 0}},
      {"samples above the maximum", "P2 3 1 15 # comment\n99 16 99999999999", {255, 255, 255}},
      {"comments among plain samples", "P3 1 2 255\n1 2 3 # note 4 5\n7 8 9", {2, 8}},
      {"binary data ends early", std::string("P5 3 2 255\n") + '\x05' + '\x06', {5, 6, 255, 255, 255, 255}, true},
      {"plain data ends early", "P2 2 2 255\n1 2 3", {1, 2, 3, 255}, true},
      {"plain bitmap ends early", "P1 3 1 1", {0, 255, 255}, true},
      {"letters among plain samples", "P2 2 1 255\n1 x", {1, 255}, true},
      {"maximum 0", "P5 1 1 0\n\x01", {}, true},
      {"maximum above 65535", "P5 1 1 65536\n\x01\x01", {}, true},
      {"zero width", "P5 0 1 255\n", {}, true},
      {"unknown magic", "P7 1 1 255\n\x01", {}, true},
      {"no size", "P6\n# only a comment", {}, true},
  };
  for (const TTextCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Decoded d = Decode(ReadPXMStream, Text(c.data));
    EXPECT_EQ(d.aborted, c.aborted);
    if (!c.greens.empty()) {
      EXPECT_EQ(Greys(d.bitmap), c.greens);
    }
  }
}

TEST(PxmRead, ParametersAndComments) {
  const Decoded d = Decode(ReadPXMStream, Text("# first\nP3\n#  second  \n2 1\n# third\n255\n1 2 3 4 5 6"), {}, true);
  ASSERT_FALSE(d.aborted) << d.error;
  EXPECT_EQ(d.params.PxmComments, (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_EQ(d.params.Width, 2);
  EXPECT_EQ(d.params.Height, 1);
  EXPECT_EQ(d.params.BitsPerSample, 8);
  EXPECT_EQ(d.params.SamplesPerPixel, 3);
  EXPECT_TRUE(d.bitmap.Empty());  // parameters only

  const Decoded bits = Decode(ReadPXMStream, Text(std::string("P4 9 1\n") + '\x80' + '\x80'));
  EXPECT_EQ(bits.bitmap.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(bits.params.BitsPerSample, 1);
  EXPECT_EQ(bits.bitmap.ScanLine(0)[1], 0x00);  // the bits past the width stay clear
}

TEST(PxmRead, CancelKeepsTheRowsDone) {
  const Decoded d = Decode(ReadPXMStream, Text(std::string("P5 1 4 255\n") + std::string(4, '\x10')), {}, false, 50);
  EXPECT_TRUE(d.aborted);
  EXPECT_EQ(Greys(d.bitmap), (std::vector<int>{16, 16, 255, 255}));
}

// A 3 x 2 image: red, green, blue over white, grey 128, black.
TIEWorkingBitmap SmallColourImage() {
  TIEWorkingBitmap b(3, 2, TIEPixelFormat::pf24bit);
  const TBGR colours[6] = {MakeBGR(255, 0, 0), MakeBGR(0, 255, 0), MakeBGR(0, 0, 255),
                           kWhite,             MakeBGR(128, 128, 128), kBlack};
  for (int i = 0; i < 6; ++i) {
    uint8_t* p = b.ScanLine(i / 3) + 3 * (i % 3);
    p[0] = colours[i].b, p[1] = colours[i].g, p[2] = colours[i].r;
  }
  return b;
}

TEST(PxmWrite, ExactBytes) {
  struct TCase {
    const char* name;
    int bits, samples;
    std::vector<std::string> comments;
    std::string header;
    std::vector<uint8_t> pixels;
  };
  const std::vector<TCase> cases = {
      {"pixmap with comments", 8, 3, {"first", "second"}, "P6 \n# first\n\n# second\n3 2 255\n",
       {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 128, 128, 128, 0, 0, 0}},
      {"greymap", 8, 1, {}, "P5 3 2 255\n", {53, 181, 17, 252, 126, 0}},
      {"bitmap", 1, 1, {"a\nb"}, "P4 \n# a\n\n# b\n3 2\n", {0x00, 0xE0}},
  };
  const TIEWorkingBitmap image = SmallColourImage();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TIOParamsVals p;
    p.BitsPerSample = c.bits, p.SamplesPerPixel = c.samples, p.PxmComments = c.comments;
    std::vector<uint8_t> want = Text(c.header);
    want.insert(want.end(), c.pixels.begin(), c.pixels.end());
    if (c.bits == 1) {
      // Not two colours, so dithered: only the header is fixed here.
      const std::vector<uint8_t> got = Encode(WritePXMStream, image, p);
      EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.begin() + int64_t(c.header.size())), Text(c.header));
      EXPECT_EQ(got.size(), want.size());
      continue;
    }
    EXPECT_EQ(Encode(WritePXMStream, image, p), want);
  }
  TIEWorkingBitmap bits(3, 2, TIEPixelFormat::pf1bit);
  bits.ScanLine(0)[0] = 0xA0;  // white, black, white
  bits.ScanLine(1)[0] = 0x00;  // black
  TIOParamsVals p;
  EXPECT_EQ(Encode(WritePXMStream, bits, p), Text(std::string("P4 3 2\n") + '\x40' + '\xE0'));
}

TEST(PxmFiles, PnmNamesAreWrittenAndReadAsPxm) {
  TempDir dir;
  TIEWorkingBitmap image = SmallColourImage(), back;
  TZiridEvIO io;
  io.SetAttachedBitmap(&image);
  io.Params.PxmComments = {"made here"};
  io.SaveToFile(dir.File("a.pnm"));
  ASSERT_FALSE(io.Aborting) << io.LastError;
  const std::vector<uint8_t> bytes = ReadFileBytes(dir.File("a.pnm"));
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 15), "P6 \n# made here");

  TZiridEvIO reader;
  reader.SetAttachedBitmap(&back);
  reader.LoadFromFile(dir.File("a.pnm"));
  ASSERT_FALSE(reader.Aborting) << reader.LastError;
  EXPECT_EQ(reader.Params.FileType, ftPXM);
  EXPECT_EQ(reader.Params.PxmComments, std::vector<std::string>{"made here"});
  EXPECT_EQ(RgbBytes(back), RgbBytes(image));
}

// Files netpbm and Pillow make from the oracle picture; 16-bit samples may
// differ by one, as Pillow rounds where we truncate.
TEST(PxmOracle, NetpbmAndPillowFiles) {
  if (!HavePillow() || !HaveNetpbm()) GTEST_SKIP() << "Pillow or netpbm missing";
  TempDir dir;
  const std::vector<TOracleCase> cases = {
      {"p6", omShell, "pngtopnm {in} > {out}"},
      {"p5", omShell, "pngtopnm {in} | ppmtopgm > {out}"},
      {"p4", omShell, "pngtopnm {in} | ppmtopgm | pgmtopbm > {out}"},
      {"p3", omShell, "pngtopnm {in} | pnmtoplainpnm > {out}"},
      {"p2", omShell, "pngtopnm {in} | ppmtopgm | pnmtoplainpnm > {out}"},
      {"p1", omShell, "pngtopnm {in} | ppmtopgm | pgmtopbm | pnmtoplainpnm > {out}"},
      {"p6_15", omShell, "pngtopnm {in} | pamdepth 15 > {out}"},
      {"p5_15", omShell, "pngtopnm {in} | ppmtopgm | pamdepth 15 > {out}"},
      {"p3_15", omShell, "pngtopnm {in} | pamdepth 15 | pnmtoplainpnm > {out}"},
      {"p6_1000", omShell, "pngtopnm {in} | pamdepth 1000 > {out}", "", 1},
      {"p6_65535", omShell, "pngtopnm {in} | pamdepth 65535 > {out}", "", 1},
      {"p3_1000", omShell, "pngtopnm {in} | pamdepth 1000 | pnmtoplainpnm > {out}", "", 1},
      {"pillow_1", omPillow, "im.convert('1')"},
      {"pillow_L", omPillow, "im.convert('L')"},
      {"pillow_RGB", omPillow, "im.convert('RGB')"},
  };
  EXPECT_EQ(CheckOracleCases(dir, MakeOraclePicture(dir), ".pnm", cases, ByCodec(ReadPXMStream)), 15);
}

// Pillow reads 16-bit greymaps clipped, so those are compared with netpbm's
// own reduction to 8 bits.
TEST(PxmOracle, SixteenBitGreymaps) {
  if (!HavePillow() || !HaveNetpbm()) GTEST_SKIP() << "Pillow or netpbm missing";
  TempDir dir;
  const std::string netpbm8 =
      "import subprocess, io\n"
      "im = Image.open(io.BytesIO(subprocess.run(['pamdepth', '255', im.filename], capture_output=True).stdout))\n";
  for (const char* depth : {"1000", "65535"}) {
    const TOracleCase c{std::string("grey") + depth, omShell,
                        std::string("pngtopnm {in} | ppmtopgm | pamdepth ") + depth + " > {out}", "", 1};
    const std::string file = MakeOracleFile(dir, MakeOraclePicture(dir), c, ".pgm");
    ASSERT_FALSE(file.empty());
    ExpectLikePillow(dir, file, ByCodec(ReadPXMStream), 1, {.prelude = netpbm8});
  }
}

// Our P6, P5 and P4 files decoded by Pillow, and by netpbm (through a PNG),
// show what we read back from them; P6 keeps the colours and P5 the grey levels.
TEST(PxmOracle, OurFilesReadBack) {
  if (!HavePillow() || !HaveNetpbm()) GTEST_SKIP() << "Pillow or netpbm missing";
  TempDir dir;
  const TOurImage source = ByCodec(ReadPNGStream)(ReadFileBytes(MakeOraclePicture(dir)));
  ASSERT_TRUE(source.ok);
  for (const auto& [bits, samples] : {std::pair{8, 3}, {8, 1}, {1, 1}}) {
    SCOPED_TRACE(samples * bits);
    TIOParamsVals p;
    p.BitsPerSample = bits, p.SamplesPerPixel = samples;
    const std::string file = dir.File("ours.pnm"), png = dir.File("netpbm.png");
    WriteFileBytes(file, Encode(WritePXMStream, source.bitmap, p));
    const TOurDecode ours = [&](const std::vector<uint8_t>&) { return ByCodec(ReadPXMStream)(ReadFileBytes(file)); };
    ExpectLikePillow(dir, file, ours);
    ASSERT_EQ(test::Run("pnmtopng " + file + " > " + png + " 2>/dev/null"), 0);
    ExpectLikePillow(dir, png, ours);
    const TOurImage back = ours({});
    if (samples == 3) {
      EXPECT_EQ(RgbBytes(back.bitmap), RgbBytes(source.bitmap));
    }
    if (bits == 8 && samples == 1) {
      for (int64_t y = 0; y < back.bitmap.Height(); ++y)
        for (int64_t x = 0; x < back.bitmap.Width(); ++x)
          ASSERT_EQ(back.bitmap.Pixel(x, y).g, GreyLevel(source.bitmap.Pixel(x, y)));
    }
  }
}

}  // namespace
}  // namespace quillet::test
