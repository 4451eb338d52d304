// quillet-cli draw: scripts of canvas and tool ops give the expected pixels,
// saves in the middle of a drag write the preview, bad ops are usage errors.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_harness.h"
#include "imaging/core/canvas.h"
#include "imaging/view/paint_tools.h"

namespace quillet::test {
namespace {

constexpr TBGR kRed{0, 0, 255}, kGreen{0, 255, 0}, kBlue{255, 0, 0}, kYellow{0, 255, 255}, kCyan{255, 255, 0};

// A w x h image of `format` filled with `color`, written as a BMP of its own depth.
std::string Plain(const TempDir& dir, const std::string& name, TIEPixelFormat format, TBGR color) {
  TIEWorkingBitmap b(30, 20, format);
  TIECanvas canvas(b);
  canvas.State().BrushColor = color;
  canvas.FillRect(0, 0, 30, 20);
  TZiridEvIO io;
  io.SetAttachedBitmap(&b);
  io.Params.BitsPerSample = b.BitCount() == 1 ? 1 : 8;
  io.Params.SamplesPerPixel = b.BitCount() == 1 ? 1 : 3;
  const std::string file = dir.File(name);
  io.SaveToFile(file);
  return file;
}

struct Pixel {
  int32_t x, y;
  TBGR color;
};

TEST(CliDraw, ScriptsGiveTheExpectedPixels) {
  struct Case {
    const char* ops;
    std::vector<Pixel> pixels;
  };
  const Case cases[] = {
      {"pen-color:FF0000 moveto:0,0 lineto:5,0", {{0, 0, kRed}, {4, 0, kRed}, {5, 0, kWhite}}},
      {"brush-style:clear brush-color:00FF00 fillrect:3,4,0,2", {{0, 2, kGreen}, {2, 3, kGreen}, {3, 3, kWhite}}},
      {"brush-style:cross brush-color:0000FF rect:7,7,20,15",
       {{7, 7, kBlack}, {19, 14, kBlack}, {8, 8, kBlue}, {16, 10, kBlue}, {9, 9, kWhite}}},
      {"pen-width:3 moveto:5,10 lineto:15,10 lineto:15,15 pixel:29,19,00FF00 pixel:30,19,FF0000",
       {{5, 11, kBlack}, {16, 13, kBlack}, {29, 19, kGreen}}},
      {"pen-mode:notxor brush-style:clear pen-color:00FFFF ellipse:0,0,9,9 ellipse:9,9,0,0", {{4, 0, kWhite}}},
      {"art:0,0,19,15,19 art:4,20,2,29,6",
       {{0, 19, kRed}, {5, 19, kGreen}, {15, 19, kWhite}, {25, 2, kGreen}, {20, 5, kRed}, {29, 6, kWhite}}},
      {"paint-color:0000FF fill-color:FFFF00 shape:rectangle fill-type:1 width:2 press:draw,2,2,right move:9,9 release",
       {{2, 2, kBlue}, {5, 5, kYellow}, {9, 9, kWhite}}},
      {"shape:none press:draw,0,0 move:12,12 release", {{6, 0, kWhite}}},
      {"art-pattern:1 press:art,10,5 move:20,5 move:24,5 release press:select,1,1 move:3,3 release",
       {{10, 3, kBlack}, {17, 7, kBlack}, {24, 5, kWhite}, {22, 5, kWhite}}},
      {"paint-color:FF0000 brush-shape:5 press:brush,10,10 release",
       {{7, 7, kRed}, {13, 13, kRed}, {14, 10, kWhite}, {6, 10, kWhite}}},
      {"paint-color:0000FF brush-shape:1 press:spray,10,10 move:20,10 release",
       {{9, 9, kBlue}, {11, 9, kBlue}, {9, 11, kBlue}, {19, 9, kBlue}, {11, 11, kWhite}, {10, 10, kWhite}}},
      {"fill-color:00FF00 press:eraser,10,10 move:20,10 release",
       {{5, 5, kGreen}, {14, 14, kGreen}, {15, 10, kGreen}, {4, 5, kWhite}, {25, 10, kWhite}}},
      {"brush-style:clear rect:5,5,15,15 brush-color:FFFF00 flood:0,0 flood:-1,0",
       {{0, 0, kYellow}, {29, 19, kYellow}, {5, 5, kBlack}, {10, 10, kWhite}}},
      {"brush-style:clear rect:5,5,15,15 paint-color:FF0000 fill-color:0000FF press:fill,10,10 release "
       "press:fill,0,0,right release press:fill,30,0 release",
       {{10, 10, kRed}, {0, 0, kBlue}, {5, 5, kBlack}}},
      // The dropper's colour goes to the fill colour, then to nothing outside.
      {"pixel:3,3,00FF00 press:dropper,3,3,right release press:dropper,-1,0 release press:eraser,20,10 release "
       "press:brush,2,2 release",
       {{15, 5, kGreen}, {2, 2, kBlack}, {3, 3, kGreen}}},
  };
  TempDir dir;
  const std::string in = Plain(dir, "in.bmp", TIEPixelFormat::pf24bit, kWhite), out = dir.File("out.bmp");
  for (const Case& c : cases) {
    const CliResult r = Cli(dir, "draw " + in + " " + out + " " + c.ops);
    ASSERT_EQ(r.status, 0) << c.ops << "\n" << r.err;
    const TIEWorkingBitmap image = ReadImage(out);
    for (const Pixel& p : c.pixels) EXPECT_EQ(image.Pixel(p.x, p.y), p.color) << c.ops << " at " << p.x << "," << p.y;
  }
}

TEST(CliDraw, SavesMidDragAndKeepsOneBitImages) {
  TempDir dir;
  const std::string black = Plain(dir, "black.bmp", TIEPixelFormat::pf24bit, kBlack);
  const std::string mid = dir.File("mid,1.bmp"), out = dir.File("out.bmp");
  ASSERT_EQ(Cli(dir, "draw " + black + " " + out + " paint-color:FF0000 press:draw,2,5 move:12,5 save:" + mid + " release").status, 0);
  EXPECT_EQ(ReadImage(mid).Pixel(5, 5), kCyan);  // the NotXor preview of red over black
  EXPECT_EQ(ReadImage(out).Pixel(5, 5), kRed);
  EXPECT_EQ(Cli(dir, "draw " + black + " " + out + " save:" + dir.File("no/such/x.bmp")).status, 1);

  // On a 1-bit image red is dark, so it draws black.
  const std::string bw = Plain(dir, "bw.bmp", TIEPixelFormat::pf1bit, kWhite);
  ASSERT_EQ(Cli(dir, "draw " + bw + " " + out + " pen-color:FF0000 moveto:0,0 lineto:5,0").status, 0);
  const TIEWorkingBitmap image = ReadImage(out);
  EXPECT_EQ(image.Pixel(0, 0), kBlack);
  EXPECT_EQ(image.Pixel(6, 0), kWhite);
}

// The text op draws what the Text tool's steps draw, commas kept.
TEST(CliDraw, TextSitsOnItsPointInThePaintColour) {
  TempDir dir;
  TIEWorkingBitmap white(120, 60, TIEPixelFormat::pf24bit);
  TIECanvas(white).FillRect(0, 0, 120, 60);
  const std::string in = WriteBmp(dir, "in.bmp", white), out = dir.File("out.bmp");
  ASSERT_EQ(Cli(dir, "draw " + in + " " + out + " paint-color:0000FF 'font:DejaVu Sans,16,bi' 'text:4,50,a, b,c'").status, 0);
  TIEWorkingBitmap want = white;
  TIECanvas canvas(want);
  TPaintToolState state;
  const TPaintOptions options{.PaintColor = kBlue, .Font = {.Name = "DejaVu Sans", .Size = 16, .Bold = true, .Italic = true}};
  TPaintSteps{canvas, state, options}.PlaceText({4, 50}, "a, b,c");
  const TIEWorkingBitmap got = ReadImage(out);
  int64_t blue = 0;
  for (int32_t y = 0; y < 60; ++y)
    for (int32_t x = 0; x < 120; ++x) {
      ASSERT_EQ(got.Pixel(x, y), want.Pixel(x, y)) << x << "," << y;
      blue += got.Pixel(x, y) == kBlue;
    }
  EXPECT_GT(blue, 50);
}

TEST(CliDraw, BadOpsAreUsageErrorsThatListTheOps) {
  TempDir dir;
  const std::string in = Plain(dir, "in.bmp", TIEPixelFormat::pf24bit, kWhite), out = dir.File("out.bmp");
  for (const char* op : {"bogus", "pen-color:12345", "pen-color:GG0000", "pen-width:-1", "pen-mode:xor", "lineto:1",
                         "rect:1,2,3,4,5", "moveto:99999999999,0", "brush-style:dots", "shape:circle", "fill-type:8",
                         "width:0", "art-pattern:8", "art:8,0,0,5,5", "press:pen,1,1", "press:draw,1,1,left",
                         "brush-shape:19", "brush-shape:-1", "press:fill,1", "press:dropper,1,1,left", "font:,12",
                         "font:Sans,0", "font:Sans,12,x", "font:Sans", "text:1,2", "text:a,2,x", "flood:1",
                         "move:a,b", "release:1", "save:"}) {
    const CliResult r = Cli(dir, "draw " + in + " " + out + " moveto:0,0 " + op);
    EXPECT_EQ(r.status, 2) << op;
    EXPECT_NE(r.err.find(op), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Ops: pen-color:RRGGBB;"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out)) << op;
  }
}

}  // namespace
}  // namespace quillet::test
