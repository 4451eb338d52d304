// Repainting a 1920 x 1080 view of a 4000 x 3000 and a 6000 x 4000 image,
// 24-bit, 1-bit and 24-bit over a half-opaque alpha plane, at zooms from 25 %
// to 1600 %, each as a ratio to a memcpy of the back buffer's bytes in the
// same run.
#include <benchmark/benchmark.h>

#include "bench/bench_lines.h"
#include "bench/memcpy_ratio.h"
#include "imaging/view/view_painter.h"

namespace {

using namespace quillet;

constexpr int kClientWidth = 1920, kClientHeight = 1080;

struct TSize {
  int64_t Width, Height;
};
constexpr TSize kMedium{4000, 3000}, kLarge{6000, 4000};

TIEWorkingBitmap MakeImage(TSize size, TIEPixelFormat format) {
  TIEWorkingBitmap b(size.Width, size.Height, format);
  for (int64_t y = 0; y < size.Height; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int64_t i = 0; i < b.RowBytes(); ++i) row[i] = uint8_t(i * 7 + y * 13);
  }
  return b;
}

// One image of each size and format at a time, made when first asked for.
const TIEWorkingBitmap& Image(TSize size, TIEPixelFormat format) {
  static TIEWorkingBitmap image;
  static TSize made{0, 0};
  if (made.Width != size.Width || made.Height != size.Height || image.PixelFormat() != format) {
    image = MakeImage(size, format);
    made = size;
  }
  return image;
}

using bench::TimedAgainstMemcpy;

// A full repaint of the back buffer at the zoom range(0), scrolled to the
// middle of the image, reported against a memcpy of the back buffer's bytes.
void BM_paint(benchmark::State& state, TSize size, TIEPixelFormat format, bool alpha) {
  const TIEWorkingBitmap& bitmap = Image(size, format);
  TIEMask plane;
  plane.Allocate(size.Width, size.Height, 8);
  plane.Fill(alpha ? 128 : 255);
  TIEViewGeometry g;
  g.SetImageSize(size.Width, size.Height);
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

constexpr auto k24 = TIEPixelFormat::pf24bit, k1 = TIEPixelFormat::pf1bit;
constexpr auto kMs = benchmark::kMillisecond;

// 4000 x 3000; the alpha cases blend every pixel over the background by a
// half-opaque plane.
BENCHMARK_CAPTURE(BM_paint, 24bit, kMedium, k24, false)->Arg(100)->Arg(33)->Arg(300)->Unit(kMs);
BENCHMARK_CAPTURE(BM_paint, 1bit, kMedium, k1, false)->Arg(100)->Arg(33)->Arg(300)->Unit(kMs);
BENCHMARK_CAPTURE(BM_paint, 24bit_alpha, kMedium, k24, true)->Arg(100)->Arg(33)->Arg(300)->Unit(kMs);

// 6000 x 4000.
BENCHMARK_CAPTURE(BM_paint, large_24bit, kLarge, k24, false)->Arg(25)->Arg(100)->Arg(400)->Arg(1600)->Unit(kMs);
BENCHMARK_CAPTURE(BM_paint, large_1bit, kLarge, k1, false)->Arg(25)->Arg(100)->Unit(kMs);
BENCHMARK_CAPTURE(BM_paint, large_24bit_alpha, kLarge, k24, true)->Arg(100)->Unit(kMs);

}  // namespace

int main(int argc, char** argv) { return quillet::bench::RunBenchmarks(argc, argv); }
