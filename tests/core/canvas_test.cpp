// The canvas against an independent per-pixel rasteriser of the same rules
// (tests/core/canvas_oracle.py, NumPy) on random figures, and the cases the
// oracle cannot reach: huge coordinates and NotXor restoring every figure.
#include "imaging/core/canvas.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sstream>

#include "imaging/core/bits.h"
#include "support/test_support.h"

namespace quillet {
namespace {

using test::TempDir;

// One random figure: the canvas state, the operation and its box or ends.
struct TFigureCase {
  int fmt, w, h;
  uint32_t pen;
  int width, notXor, penClear;
  uint32_t brush;
  int style, op, x1, y1, x2, y2;
};

TBGR Rgb(uint32_t v) { return MakeBGR(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)); }

// The oracle's start picture.
TIEWorkingBitmap StartImage(int fmt, int w, int h) {
  TIEWorkingBitmap b(w, h, fmt == 1 ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* row = b.ScanLine(y);
      if (fmt == 1) SetBit(row, x, (x * 3 + y * 5) % 7 < 3);
      else row[3 * x] = uint8_t(x * 7 + y * 13), row[3 * x + 1] = uint8_t(x * x + y), row[3 * x + 2] = uint8_t((x ^ y) * 5);
    }
  return b;
}

void Draw(TIEWorkingBitmap& b, const TFigureCase& c, bool notXor) {
  TIECanvas canvas(b);
  TIECanvasState& s = canvas.State();
  s.PenColor = Rgb(c.pen);
  s.PenWidth = c.width;
  s.PenMode = notXor ? TIEPenMode::pmNotXor : TIEPenMode::pmCopy;
  s.PenStyle = c.penClear ? TIEPenStyle::psClear : TIEPenStyle::psSolid;
  s.BrushColor = Rgb(c.brush);
  s.BrushStyle = TIEBrushStyle(c.style);
  switch (c.op) {
    case 0: canvas.MoveTo(c.x1, c.y1), canvas.LineTo(c.x2, c.y2); break;
    case 1: canvas.Rectangle(c.x1, c.y1, c.x2, c.y2); break;
    case 2: canvas.Ellipse(c.x1, c.y1, c.x2, c.y2); break;
    default: canvas.FillRect(c.x1, c.y1, c.x2, c.y2);
  }
}

// The pixels as the oracle writes them.
std::vector<uint8_t> Raw(const TIEWorkingBitmap& b) {
  std::vector<uint8_t> out;
  for (int64_t y = 0; y < b.Height(); ++y)
    for (int64_t x = 0; x < b.Width(); ++x) {
      if (b.BitCount() == 1) out.push_back(GetBit(b.ScanLine(y), x));
      else out.insert(out.end(), b.ScanLine(y) + 3 * x, b.ScanLine(y) + 3 * x + 3);
    }
  return out;
}

std::vector<TFigureCase> RandomCases(int count) {
  std::mt19937 rng(1234);
  const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const uint32_t colours[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x123456, 0x808080, 0x7F7F7F};
  const int widths[] = {-2, 0, 1, 1, 1, 2, 3, 4, 5, 8, 9};
  std::vector<TFigureCase> cases;
  for (int i = 0; i < count; ++i) {
    TFigureCase c{pick(0, 1) ? 24 : 1, pick(1, 40), pick(1, 30), colours[pick(0, 6)], widths[pick(0, 10)],
                  pick(0, 1), pick(0, 9) == 0, colours[pick(0, 6)], pick(0, 7), pick(0, 3), 0, 0, 0, 0};
    c.x1 = pick(-12, c.w + 12), c.x2 = pick(-12, c.w + 12), c.y1 = pick(-12, c.h + 12), c.y2 = pick(-12, c.h + 12);
    cases.push_back(c);
  }
  return cases;
}

std::string CaseText(const TFigureCase& c) {
  std::ostringstream text;
  text << c.fmt << ' ' << c.w << ' ' << c.h << ' ' << c.pen << ' ' << c.width << ' ' << c.notXor << ' '
       << c.penClear << ' ' << c.brush << ' ' << c.style << ' ' << c.op << ' ' << c.x1 << ' ' << c.y1 << ' '
       << c.x2 << ' ' << c.y2 << '\n';
  return text.str();
}

TEST(Canvas, RandomFiguresMatchTheRasteriserOfTheRules) {
  if (!test::HavePillow()) GTEST_SKIP() << "no python3 with NumPy";
  const auto cases = RandomCases(600);
  TempDir dir;
  std::ostringstream text;
  for (const auto& c : cases) text << CaseText(c);
  const std::string in = dir.File("cases.txt"), out = dir.File("out.raw");
  const std::string script = text.str();
  test::WriteFileBytes(in, std::vector<uint8_t>(script.begin(), script.end()));
  ASSERT_EQ(test::Run("/usr/bin/python3 " QUILLET_SOURCE_DIR "/tests/core/canvas_oracle.py < " + in + " > " + out), 0);
  const auto want = test::ReadFileBytes(out);
  size_t at = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    const TFigureCase& c = cases[i];
    TIEWorkingBitmap b = StartImage(c.fmt, c.w, c.h);
    Draw(b, c, c.notXor);
    const auto got = Raw(b);
    ASSERT_LE(at + got.size(), want.size());
    ASSERT_TRUE(std::equal(got.begin(), got.end(), want.begin() + int64_t(at))) << "case " << i << ": " << CaseText(c);
    at += got.size();
    // The same figure twice in NotXor gives the start picture back.
    TIEWorkingBitmap twice = StartImage(c.fmt, c.w, c.h);
    if (c.op != 3) Draw(twice, c, true), Draw(twice, c, true);
    EXPECT_EQ(Raw(twice), Raw(StartImage(c.fmt, c.w, c.h))) << "case " << i;
  }
}

// Figures reaching the ends of the coordinate range cost only what they cover.
TEST(Canvas, HugeFiguresAreClippedExactlyAndFast) {
  const auto started = std::chrono::steady_clock::now();
  for (auto format : {TIEPixelFormat::pf24bit, TIEPixelFormat::pf1bit}) {
    TIEWorkingBitmap b(16, 12, format);
    b.Fill(kWhite);
    TIECanvas canvas(b);
    canvas.State().PenColor = kBlack;
    canvas.State().PenWidth = 3;
    canvas.MoveTo(INT32_MIN, 5);
    canvas.LineTo(INT32_MAX, 5);  // rows 4..6 across
    for (int y = 0; y < 12; ++y) EXPECT_EQ(b.Pixel(7, y), (y >= 4 && y <= 6) ? kBlack : kWhite) << y;
    canvas.State().BrushColor = kBlack;
    canvas.Ellipse(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);  // all interior here
    canvas.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    canvas.MoveTo(INT32_MIN, INT32_MIN);
    canvas.LineTo(INT32_MAX, INT32_MAX);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 16; ++x) ASSERT_EQ(b.Pixel(x, y), kBlack) << x << "," << y;
    EXPECT_EQ(canvas.State().PenPos, (TIEPoint{INT32_MAX, INT32_MAX}));
    EXPECT_FALSE(canvas.Pixel(-1, 0));
    EXPECT_FALSE(canvas.Pixel(16, 0));
    canvas.SetPixel(16, 0, kWhite);  // outside: nothing
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST(Canvas, LinePointsFollowTheFormula) {
  std::vector<std::pair<int64_t, int64_t>> pts;
  LineDDA(0, 0, 5, 2, [&](int64_t x, int64_t y) { pts.emplace_back(x, y); });
  // n = 5: y = floor((4i + 4) / 10) = 0, 0, 1, 1, 2; the end (5, 2) excluded.
  EXPECT_EQ(pts, (std::vector<std::pair<int64_t, int64_t>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
  pts.clear();
  LineDDA(3, 3, 3, 3, [&](int64_t x, int64_t y) { pts.emplace_back(x, y); });
  EXPECT_TRUE(pts.empty());
  const TLineDDA huge(INT32_MIN, INT32_MIN, INT32_MAX, 0);
  const auto [first, last] = huge.Within(0, 0, 10, 10);  // where the line crosses x 0..9 it is near y -2^30
  EXPECT_EQ(first, last);
}

}  // namespace
}  // namespace quillet
