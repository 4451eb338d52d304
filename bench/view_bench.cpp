// Repainting a 1920 x 1080 view of a 6000 x 4000 image, 24-bit, 1-bit and
// 24-bit over a half-opaque alpha plane, at zooms from 25 % to 1600 %, each
// as a ratio to a memcpy of the back buffer's bytes in the same run.
#include <benchmark/benchmark.h>

#include "bench/bench_lines.h"
#include "bench/memcpy_ratio.h"
#include "imaging/view/view_painter.h"

namespace {

using namespace quillet;

constexpr int kImageWidth = 6000, kImageHeight = 4000;
constexpr int kClientWidth = 1920, kClientHeight = 1080;

const TIEWorkingBitmap& Image(TIEPixelFormat format) {
  static const auto make = [](TIEPixelFormat f) {
    TIEWorkingBitmap b(kImageWidth, kImageHeight, f);
    for (int64_t y = 0; y < kImageHeight; ++y) {
      uint8_t* row = b.ScanLine(y);
      for (int64_t i = 0; i < b.RowBytes(); ++i) row[i] = uint8_t(i * 7 + y * 13);
    }
    return b;
  };
  static const TIEWorkingBitmap colour = make(TIEPixelFormat::pf24bit), mono = make(TIEPixelFormat::pf1bit);
  return format == TIEPixelFormat::pf1bit ? mono : colour;
}

using bench::TimedAgainstMemcpy;

// A full repaint of the back buffer at the zoom range(0), scrolled to the
// middle of the image, reported against a memcpy of the back buffer's bytes.
void PaintCase(benchmark::State& state, TIEPixelFormat format, bool alpha) {
  const TIEWorkingBitmap& bitmap = Image(format);
  TIEMask plane;
  plane.Allocate(kImageWidth, kImageHeight, 8);
  plane.Fill(alpha ? 128 : 255);
  TIEViewGeometry g;
  g.SetImageSize(kImageWidth, kImageHeight);
  g.SetBounds(kClientWidth, kClientHeight);
  g.SetZoom(double(state.range(0)));
  g.SetViewXY(g.MaxView().X / 2, g.MaxView().Y / 2);
  TIEPaintOptions options;
  options.EnableAlphaChannel = alpha;
  TIEViewPainter painter;
  const TIEViewImage image{&bitmap, &plane, nullptr};
  painter.PaintRect(g, image, options);
  const int64_t bytes = painter.BackBuffer().RowBytes() * kClientHeight;

  TimedAgainstMemcpy(state, bytes, [&] {
    g.SetNeedRepaint();
    painter.PaintRect(g, image, options);
    benchmark::DoNotOptimize(painter.BackBuffer().Bits());
    benchmark::ClobberMemory();
  });
  state.counters["shown_px"] = double(g.DisplayWidth() * g.DisplayHeight());
}

void BM_paint_24bit(benchmark::State& state) { PaintCase(state, TIEPixelFormat::pf24bit, false); }
BENCHMARK(BM_paint_24bit)->Arg(25)->Arg(33)->Arg(100)->Arg(300)->Arg(400)->Arg(1600)->Unit(benchmark::kMillisecond);

void BM_paint_1bit(benchmark::State& state) { PaintCase(state, TIEPixelFormat::pf1bit, false); }
BENCHMARK(BM_paint_1bit)->Arg(25)->Arg(33)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

// Every pixel blended over the background by a half-opaque alpha plane.
void BM_paint_24bit_alpha(benchmark::State& state) { PaintCase(state, TIEPixelFormat::pf24bit, true); }
BENCHMARK(BM_paint_24bit_alpha)->Arg(33)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return quillet::bench::RunBenchmarks(argc, argv); }
