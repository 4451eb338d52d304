// Canvas timings on 4000 x 3000 images, 24-bit and 1-bit: an image-sized
// solid ellipse with its outline, a solid rectangle, and 10 000 random lines
// of width 1 and of width 9 (bench/paint_peers sets them beside Pillow's
// ImageDraw); a full-image NotXor rectangle (one preview step of a drag) and a
// cross-hatched FillRect, each as a ratio to a memcpy of the image.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/bench_lines.h"
#include "bench/memcpy_ratio.h"
#include "imaging/core/canvas.h"

namespace {

using namespace quillet;

constexpr int32_t kWidth = 4000, kHeight = 3000;

TIEWorkingBitmap& Image(TIEPixelFormat format) {
  static TIEWorkingBitmap image;
  if (image.PixelFormat() != format || image.Width() != kWidth) image = TIEWorkingBitmap(kWidth, kHeight, format);
  image.Fill(kWhite);
  return image;
}

// The random line ends bench/paint_peers makes too: a 31-bit LCG.
std::vector<int32_t> LineEnds() {
  std::vector<int32_t> v;
  uint64_t seed = 12345;
  for (int i = 0; i < 4 * 10000; ++i) {
    seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF;
    v.push_back(int32_t(seed % uint64_t(i % 2 ? kHeight : kWidth)));
  }
  return v;
}

void Figure(benchmark::State& state, TIEPixelFormat format, bool ellipse) {
  TIECanvas canvas(Image(format));
  canvas.State().PenColor = MakeBGR(200, 30, 30);
  canvas.State().SetBrushColor(MakeBGR(20, 60, 220));
  canvas.State().BrushStyle = TIEBrushStyle::bsSolid;
  for (auto _ : state) {
    if (ellipse) canvas.Ellipse(0, 0, kWidth, kHeight);
    else canvas.Rectangle(0, 0, kWidth, kHeight);
    benchmark::DoNotOptimize(canvas.Bitmap().Bits());
  }
}

void Lines(benchmark::State& state, TIEPixelFormat format, int width) {
  static const std::vector<int32_t> ends = LineEnds();
  TIECanvas canvas(Image(format));
  canvas.State().PenColor = MakeBGR(200, 30, 30);
  canvas.State().PenWidth = width;
  for (auto _ : state) {
    for (size_t i = 0; i < ends.size(); i += 4) {
      canvas.MoveTo(ends[i], ends[i + 1]);
      canvas.LineTo(ends[i + 2], ends[i + 3]);
    }
    benchmark::DoNotOptimize(canvas.Bitmap().Bits());
  }
}

void NotXorRectangle(benchmark::State& state, TIEPixelFormat format) {
  TIECanvas canvas(Image(format));
  canvas.State().PenMode = TIEPenMode::pmNotXor;
  canvas.State().PenColor = MakeBGR(200, 30, 30);
  canvas.State().SetBrushColor(MakeBGR(20, 60, 220));
  canvas.State().BrushStyle = TIEBrushStyle::bsSolid;
  const TIEWorkingBitmap& b = canvas.Bitmap();
  bench::TimedAgainstMemcpy(state, b.RowBytes() * b.Height(), [&] { canvas.Rectangle(0, 0, kWidth, kHeight); });
}

void HatchFill(benchmark::State& state, TIEPixelFormat format) {
  TIECanvas canvas(Image(format));
  canvas.State().SetBrushColor(MakeBGR(20, 60, 220));
  canvas.State().BrushStyle = TIEBrushStyle::bsCross;
  const TIEWorkingBitmap& b = canvas.Bitmap();
  bench::TimedAgainstMemcpy(state, b.RowBytes() * b.Height(), [&] { canvas.FillRect(0, 0, kWidth, kHeight); });
}

constexpr auto k24 = TIEPixelFormat::pf24bit, k1 = TIEPixelFormat::pf1bit;

void BM_ellipse_24(benchmark::State& s) { Figure(s, k24, true); }
void BM_ellipse_1(benchmark::State& s) { Figure(s, k1, true); }
void BM_rectangle_24(benchmark::State& s) { Figure(s, k24, false); }
void BM_rectangle_1(benchmark::State& s) { Figure(s, k1, false); }
void BM_lines_w1_24(benchmark::State& s) { Lines(s, k24, 1); }
void BM_lines_w1_1(benchmark::State& s) { Lines(s, k1, 1); }
void BM_lines_w9_24(benchmark::State& s) { Lines(s, k24, 9); }
void BM_lines_w9_1(benchmark::State& s) { Lines(s, k1, 9); }
void BM_notxor_rect_24(benchmark::State& s) { NotXorRectangle(s, k24); }
void BM_notxor_rect_1(benchmark::State& s) { NotXorRectangle(s, k1); }
void BM_hatch_fill_24(benchmark::State& s) { HatchFill(s, k24); }
void BM_hatch_fill_1(benchmark::State& s) { HatchFill(s, k1); }

#define PAINT_CASE(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()
PAINT_CASE(BM_ellipse_24);
PAINT_CASE(BM_ellipse_1);
PAINT_CASE(BM_rectangle_24);
PAINT_CASE(BM_rectangle_1);
PAINT_CASE(BM_lines_w1_24);
PAINT_CASE(BM_lines_w1_1);
PAINT_CASE(BM_lines_w9_24);
PAINT_CASE(BM_lines_w9_1);
PAINT_CASE(BM_notxor_rect_24);
PAINT_CASE(BM_notxor_rect_1);
PAINT_CASE(BM_hatch_fill_24);
PAINT_CASE(BM_hatch_fill_1);

}  // namespace

int main(int argc, char** argv) { return quillet::bench::RunBenchmarks(argc, argv); }
