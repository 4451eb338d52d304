// Flood fill and text timings (bench/brush_peers sets them beside ImageMagick
// and Pillow): a fill over a 4000 x 3000 image of one colour and over a maze
// of one-pixel walls, 24-bit and 1-bit; 100 lines of 80 characters of DejaVu
// Sans at 12 and 48 points on a 4000 x 3000 image.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/bench_lines.h"
#include "imaging/core/canvas.h"

namespace {

using namespace quillet;

constexpr int32_t kWidth = 4000, kHeight = 3000;
const TBGR kRed = MakeBGR(220, 30, 30), kBlue = MakeBGR(20, 60, 220);

// Corridors three rows high between walls on rows y % 4 == 3, joined by a gap
// at the right and left ends in turn, with a one-pixel post every eight
// columns on each corridor's first row (bench/brush_peers draws the same).
bool MazeWall(int32_t x, int32_t y) {
  const int32_t gap = (y / 4) % 2 == 0 ? kWidth - 1 : 0;
  return (y % 4 == 3 && x != gap) || (x % 8 == 3 && y % 4 == 0);
}

TIEWorkingBitmap MakeImage(TIEPixelFormat format, bool maze) {
  TIEWorkingBitmap image(kWidth, kHeight, format);
  image.Fill(kWhite);
  if (!maze) return image;
  TIECanvas canvas(image);
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x)
      if (MazeWall(x, y)) canvas.SetPixel(x, y, kBlack);
  return image;
}

// Each fill starts from the untouched picture (copied outside the timing) and
// paints the white region around (0, 0): red on 24 bits, black on 1 bit.
void Flood(benchmark::State& state, TIEPixelFormat format, bool maze) {
  const TIEWorkingBitmap pristine = MakeImage(format, maze);
  TIEWorkingBitmap image;
  for (auto _ : state) {
    state.PauseTiming();
    image = pristine;
    TIECanvas canvas(image);
    canvas.State().SetBrushColor(format == TIEPixelFormat::pf1bit ? kBlack : kRed);
    state.ResumeTiming();
    canvas.FloodFill(0, 0, kWhite, TIEFillStyle::fsSurface);
    benchmark::DoNotOptimize(image.Bits());
  }
}

std::string Line(int i) {
  static const std::string kSample =
      "Pack my box with five dozen liquor jugs. The quick brown fox jumps over the lazy dog 0123456789";
  return kSample.substr(i % 10, 80);
}

void Text(benchmark::State& state, TIEPixelFormat format, int points) {
  TIEWorkingBitmap image = MakeImage(format, false);
  TIECanvas canvas(image);
  canvas.State().BrushStyle = TIEBrushStyle::bsClear;
  canvas.State().Font = TIEFontDesc{.Name = "DejaVu Sans", .Size = points, .Color = kBlue};
  const int64_t h = canvas.TextHeight("Ag");
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) canvas.TextOut(10, int32_t((i * h) % (kHeight - h)), Line(i));
    benchmark::DoNotOptimize(image.Bits());
  }
}

constexpr auto k24 = TIEPixelFormat::pf24bit, k1 = TIEPixelFormat::pf1bit;

void BM_flood_open_24(benchmark::State& s) { Flood(s, k24, false); }
void BM_flood_open_1(benchmark::State& s) { Flood(s, k1, false); }
void BM_flood_maze_24(benchmark::State& s) { Flood(s, k24, true); }
void BM_flood_maze_1(benchmark::State& s) { Flood(s, k1, true); }
void BM_text_12_24(benchmark::State& s) { Text(s, k24, 12); }
void BM_text_12_1(benchmark::State& s) { Text(s, k1, 12); }
void BM_text_48_24(benchmark::State& s) { Text(s, k24, 48); }
void BM_text_48_1(benchmark::State& s) { Text(s, k1, 48); }

#define BRUSH_CASE(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()
BRUSH_CASE(BM_flood_open_24);
BRUSH_CASE(BM_flood_open_1);
BRUSH_CASE(BM_flood_maze_24);
BRUSH_CASE(BM_flood_maze_1);
BRUSH_CASE(BM_text_12_24);
BRUSH_CASE(BM_text_12_1);
BRUSH_CASE(BM_text_48_24);
BRUSH_CASE(BM_text_48_1);

}  // namespace

int main(int argc, char** argv) { return quillet::bench::RunBenchmarks(argc, argv); }
