// GIF files of other programs read image by image against giflib's dump of
// every image, and files we write read back by Pillow and giflib.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "gif_support.h"

namespace quillet::test {
namespace {

bool HaveGiflibTools() { return test::Run("command -v gifbuild >/dev/null && command -v gif2rgb >/dev/null") == 0; }

// One image as `gifbuild -d` lists it: place, table, control values, indices.
struct DumpedImage {
  int left = 0, top = 0, w = 0, h = 0, delay = 0, transparent = -1;
  std::vector<TBGR> table;
  std::vector<uint8_t> indices;
};

int IndexOfChar(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  return c - 'A' + 36;
}

// The map lines up to "end": "rgb R G B is i".
std::vector<TBGR> ReadMap(std::istream& in) {
  std::vector<TBGR> map;
  std::string line;
  while (std::getline(in, line) && line != "end") {
    std::istringstream ls(line);
    std::string word;
    int r = 0, g = 0, b = 0;
    if (ls >> word && word == "rgb" && ls >> r >> g >> b) map.push_back(MakeBGR(uint8_t(r), uint8_t(g), uint8_t(b)));
  }
  return map;
}

std::vector<DumpedImage> GiflibImages(const std::string& file) {
  std::istringstream in([&] {
    const std::string dump = file + ".txt";
    test::Run("gifbuild -d " + file + " >" + dump);
    std::ifstream f(dump);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }());
  std::vector<DumpedImage> images;
  std::vector<TBGR> screenMap;
  DumpedImage next;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string a, b;
    ls >> a >> b;
    if (a == "screen" && b == "map") screenMap = ReadMap(in);
    if (a == "delay") next.delay = std::stoi(b);
    if (a == "transparent" && b == "index") ls >> next.transparent;
    if (a != "image") continue;
    if (b == "#") next.table = screenMap;
    if (b == "left") ls >> next.left;
    if (b == "top") ls >> next.top;
    if (b == "map") next.table = ReadMap(in);
    if (b != "bits") continue;
    std::string by, hex;
    ls >> next.w >> by >> next.h >> hex;
    // One character a pixel, or two hex digits for tables over 62 entries.
    for (int y = 0; y < next.h && std::getline(in, line); ++y)
      for (int x = 0; x < next.w; ++x)
        next.indices.push_back(uint8_t(hex == "hex" ? std::stoi(line.substr(size_t(2 * x), 2), nullptr, 16)
                                                    : IndexOfChar(line[size_t(x)])));
    images.push_back(next);
    next = DumpedImage{};
  }
  return images;
}

// Every image of `file` as giflib lists it, read by us one index at a time.
void ExpectEveryImageLikeGiflib(const std::string& file) {
  const std::vector<DumpedImage> want = GiflibImages(file);
  ASSERT_FALSE(want.empty()) << file;
  const std::vector<uint8_t> bytes = ReadFileBytes(file);
  for (size_t i = 0; i < want.size(); ++i) {
    const DumpedImage& w = want[i];
    TIEMask alpha;
    const Decoded d = DecodeGif(bytes, int(i), &alpha);
    ASSERT_FALSE(d.aborted) << file << " image " << i << ": " << d.error;
    EXPECT_EQ(d.params.GifImageCount, int(want.size())) << file;
    EXPECT_EQ(d.params.GifXPos, w.left) << file << " image " << i;
    EXPECT_EQ(d.params.GifYPos, w.top) << file << " image " << i;
    EXPECT_EQ(d.params.GifDelayTime, w.delay) << file << " image " << i;
    ASSERT_EQ(d.bitmap.Width(), w.w) << file << " image " << i;
    ASSERT_EQ(d.bitmap.Height(), w.h) << file << " image " << i;
    for (int y = 0; y < w.h; ++y)
      for (int x = 0; x < w.w; ++x) {
        const uint8_t index = w.indices[size_t(y * w.w + x)];
        const TBGR colour = index < w.table.size() ? w.table[index] : kBlack;
        ASSERT_EQ(d.bitmap.Pixel(x, y), colour) << file << " image " << i << " at " << x << "," << y;
        ASSERT_EQ(alpha.GetPixel(x, y), index == w.transparent ? 0 : 255) << file << " image " << i;
      }
  }
}

// A gifbuild description: a four-colour screen and interlaced images of the
// given heights, every other one with a local table and a control extension.
std::string GifbuildText(const std::vector<int>& heights) {
  std::ostringstream s;
  s << "screen width 40\nscreen height 20\nscreen colors 4\nscreen background 1\npixel aspect byte 0\n\n"
    << "screen map\n\trgb 000 000 000 is 0\n\trgb 255 000 000 is 1\n\trgb 000 000 255 is 2\n\trgb 255 255 255 is 3\nend\n\n";
  for (size_t i = 0; i < heights.size(); ++i) {
    if (i % 2) s << "graphics control\n\tdisposal mode 1\n\tdelay " << 3 * i << "\n\ttransparent index 2\nend\n\n";
    s << "image # " << i + 1 << "\nimage left " << 4 * i << "\nimage top " << i << "\nimage interlaced\n";
    if (i % 2) s << "image map\n\trgb 010 020 030 is 0\n\trgb 040 050 060 is 1\n\trgb 070 080 090 is 2\n\trgb 100 110 120 is 3\nend\n";
    s << "image bits 5 by " << heights[i] << "\n";
    for (int y = 0; y < heights[i]; ++y) {
      for (int x = 0; x < 5; ++x) s << char('0' + (x * 3 + y * 5 + int(i)) % 4);
      s << "\n";
    }
    s << "\n";
  }
  return s.str();
}

TEST_F(GifTest, EveryImageOfOtherProgramsFilesLikeGiflib) {
  if (!HavePillow() || !HaveImageMagick() || !HaveGiflibTools()) GTEST_SKIP() << "an oracle is missing";
  TempDir dir;
  std::ofstream(dir.File("desc.txt")) << GifbuildText({1, 2, 3, 5, 9});
  ASSERT_EQ(test::Run("gifbuild " + dir.File("desc.txt") + " >" + dir.File("built.gif")), 0);
  // Pillow crops later frames to what changed (offsets, local tables) and interlaces from 16 pixels.
  ASSERT_EQ(RunPython("from PIL import Image, ImageDraw\n"
                      "frames = []\n"
                      "for i in range(3):\n"
                      "    im = Image.new('RGB', (40, 30), (200, 10, 10))\n"
                      "    ImageDraw.Draw(im).rectangle((5 + 6 * i, 4, 20 + 3 * i, 25), fill=(10, 10 * i, 250))\n"
                      "    frames.append(im.convert('P', palette=Image.ADAPTIVE, colors=8))\n"
                      "frames[0].save(r'''" + dir.File("pillow.gif") + "''', save_all=True, append_images=frames[1:],"
                      " duration=[10, 20, 30], transparency=1, disposal=2)\n"),
            0);
  const std::string source = MakeOraclePicture(dir);
  ASSERT_EQ(test::Run("/usr/bin/convert -delay 7 -page 60x40+0+0 " + source + " -page +9+4 -colors 7 " + source +
                " -interlace GIF " + dir.File("magick.gif") + " 2>/dev/null"),
            0);
  for (const char* name : {"built.gif", "pillow.gif", "magick.gif"}) {
    SCOPED_TRACE(name);
    ExpectEveryImageLikeGiflib(dir.File(name));
  }
}

TEST_F(GifTest, PillowAndGiflibReadWhatWeWrite) {
  if (!HavePillow() || !HaveGiflibTools()) GTEST_SKIP() << "an oracle is missing";
  TempDir dir;
  TIEWorkingBitmap colour(53, 21, TIEPixelFormat::pf24bit), bilevel(53, 21, TIEPixelFormat::pf1bit);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 53; ++x) {
      PutPixel(colour, x, y, MakeBGR(uint8_t(x / 7 * 30), uint8_t(y / 4 * 50), uint8_t((x + y) % 5 * 60)));
      PutPixel(bilevel, x, y, (x * y) % 7 ? kWhite : kBlack);
    }
  const struct {
    const char* name;
    const TIEWorkingBitmap& image;
    int bits;
    bool interlaced;
  } cases[] = {{"eight", colour, 8, false}, {"interlaced", colour, 8, true}, {"one", bilevel, 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TIOParamsVals p;
    p.BitsPerSample = c.bits;
    p.GifInterlaced = c.interlaced;
    const std::string file = dir.File(std::string(c.name) + ".gif"), rgb = file + ".rgb", pam = file + ".pam";
    WriteFileBytes(file, Encode(WriteGIFStream, c.image, p));
    ASSERT_EQ(test::Run("gif2rgb -1 -o " + rgb + " " + file), 0);
    EXPECT_EQ(ReadFileBytes(rgb), RgbBytes(c.image));
    RawImage pillow;
    ASSERT_TRUE(PillowDecode(file, pam) && ReadPam(pam, pillow));
    EXPECT_EQ(pillow.pixels, RgbBytes(c.image));
  }
}

}  // namespace
}  // namespace quillet::test
