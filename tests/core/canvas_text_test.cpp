// Text on the canvas with the DejaVu faces: pixels only in the font colour
// inside the cell, bold and underline, and glyph shapes beside Pillow's
// monochrome rendering of the same file.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "imaging/core/canvas.h"
#include "imaging/core/font_match.h"
#include "support/test_support.h"

namespace quillet {
namespace {

const TBGR kBlue = MakeBGR(0, 0, 255);

using TPixels = std::set<std::pair<int, int>>;

// The pixels that differ from white after writing `text` at (x, y).
TPixels Written(TIEPixelFormat format, const TIEFontDesc& font, const std::string& text, int x, int y,
                int64_t* height = nullptr) {
  TIEWorkingBitmap b(200, 120, format);
  b.Fill(kWhite);
  TIECanvas canvas(b);
  canvas.State().Font = font;
  canvas.State().BrushStyle = TIEBrushStyle::bsClear;
  canvas.TextOut(x, y, text);
  if (height) *height = canvas.TextHeight(text);
  TPixels set;
  for (int py = 0; py < 120; ++py)
    for (int px = 0; px < 200; ++px)
      if (b.Pixel(px, py) != kWhite) set.insert({px, py});
  return set;
}

TIEFontDesc Dejavu(int points, bool bold = false, bool underline = false) {
  TIEFontDesc f;
  f.Name = "DejaVu Sans";
  f.Size = points;
  f.Bold = bold;
  f.Underline = underline;
  f.Color = kBlue;
  return f;
}

TEST(CanvasText, GlyphsTakeTheFontColourInsideTheCell) {
  for (auto format : {TIEPixelFormat::pf24bit, TIEPixelFormat::pf1bit}) {
    TIEWorkingBitmap b(200, 120, format);
    b.Fill(kWhite);
    TIECanvas canvas(b);
    canvas.State().Font = Dejavu(24);  // 32 pixels at 96 dpi
    canvas.State().Font.Color = format == TIEPixelFormat::pf1bit ? kBlack : kBlue;
    canvas.State().BrushStyle = TIEBrushStyle::bsClear;
    const int64_t w = canvas.TextWidth("Hig"), h = canvas.TextHeight("Hig");
    EXPECT_GT(w, 30);
    EXPECT_GE(h, 32);
    canvas.TextOut(50, 40, "Hig");
    int64_t changed = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 200; ++x) {
        if (b.Pixel(x, y) == kWhite) continue;
        ++changed;
        ASSERT_EQ(b.Pixel(x, y), canvas.State().Font.Color);
        ASSERT_TRUE(x >= 50 && x < 50 + w + 2 && y >= 40 && y < 40 + h) << x << "," << y;
      }
    EXPECT_GT(changed, 50);
    EXPECT_LT(changed, w * h / 2);  // no box
    // A solid brush fills the cell first.
    canvas.State().BrushStyle = TIEBrushStyle::bsSolid;
    canvas.State().BrushColor = kBlack;
    canvas.TextOut(0, 0, "Hig");
    EXPECT_EQ(b.Pixel(int(w) - 1, int(h) - 1), kBlack);
    EXPECT_EQ(b.Pixel(int(w), 0), kWhite);
  }
}

TEST(CanvasText, BoldSetsMorePixelsAndTheUnderlineIsARun) {
  const TPixels plain = Written(TIEPixelFormat::pf24bit, Dejavu(24), "Ab", 5, 5);
  EXPECT_GT(Written(TIEPixelFormat::pf24bit, Dejavu(24, true), "Ab", 5, 5).size(), plain.size() + 20);
  TIEWorkingBitmap probe(1, 1, TIEPixelFormat::pf24bit);
  probe.Canvas().Font = Dejavu(24);
  const int64_t advance = TIECanvas(probe).TextWidth("Ab");
  const TPixels under = Written(TIEPixelFormat::pf24bit, Dejavu(24, false, true), "Ab", 5, 5);
  bool run = false;
  for (int y = 5 + 20; y < 5 + 40 && !run; ++y) {
    int64_t n = 0;
    for (int x = 5; x < 5 + advance; ++x) n += under.count({x, y});
    run = n == advance;
  }
  EXPECT_TRUE(run);
}

TEST(CanvasText, GlyphsLieWithinAPixelOfPillows) {
  if (!test::HavePillow()) GTEST_SKIP() << "no python3 with Pillow";
  const std::string file = MatchFont("DejaVu Sans", false, false).File;
  ASSERT_FALSE(file.empty());
  test::TempDir dir;
  const std::string text = "Quillet AVWay 0.9";
  for (int points : {9, 24}) {
    std::ostringstream py;
    const int pixels = points * 96 / 72;
    py << "from PIL import Image, ImageDraw, ImageFont\nim = Image.new('1', (200, 120), 1)\n"
       << "d = ImageDraw.Draw(im)\nd.fontmode = '1'\nf = ImageFont.truetype(r'" << file << "', " << pixels << ")\n"
       << "d.text((4, 10), '" << text << "', font=f, fill=0)\n"
       << "open(r'" << dir.File("out") << "', 'wb').write(bytes(0 if v else 1 for v in im.getdata()))\n";
    ASSERT_EQ(test::RunPython(py.str()), 0);
    const auto theirs = test::ReadFileBytes(dir.File("out"));
    TPixels want;
    for (int i = 0; i < int(theirs.size()); ++i)
      if (theirs[size_t(i)]) want.insert({i % 200, i / 200});
    const TPixels got = Written(TIEPixelFormat::pf1bit, Dejavu(points), text, 4, 10);
    const auto near = [](const TPixels& set, std::pair<int, int> p) {
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (set.count({p.first + dx, p.second + dy})) return true;
      return false;
    };
    ASSERT_GT(want.size(), 40u);
    for (const auto& p : got) ASSERT_TRUE(near(want, p)) << points << "pt: ours " << p.first << "," << p.second;
    for (const auto& p : want) ASSERT_TRUE(near(got, p)) << points << "pt: Pillow's " << p.first << "," << p.second;
  }
}

TEST(CanvasText, FamiliesAreSortedUniqueAndRender) {
  const auto families = ScalableFontFamilies();
  ASSERT_FALSE(families.empty());
  EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
  EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
  TIEFontDesc f = Dejavu(12);
  f.Name = families.front();
  EXPECT_FALSE(Written(TIEPixelFormat::pf24bit, f, "Wx", 0, 0).empty());
  // Broken UTF-8 still draws (replacement glyphs), and nothing escapes the image.
  EXPECT_FALSE(Written(TIEPixelFormat::pf1bit, Dejavu(12), std::string("\xff\xc3(a\xe2\x82", 6), -3, 110).empty());
}

}  // namespace
}  // namespace quillet
