// TIEMask timings on a 4000 x 3000 plane: polygon fill of a 1000-vertex star
// and CopyThroughMask of a 24-bit image, each as a ratio to a memcpy of its bytes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "bench/bench_lines.h"
#include "bench/memcpy_ratio.h"
#include "imaging/core/mask.h"

namespace {

using namespace quillet;

constexpr int kWidth = 4000, kHeight = 3000, kVertices = 1000;

// A star whose points alternate between two radii around the plane's centre.
std::vector<TIEPoint> Star() {
  std::vector<TIEPoint> pts;
  for (int i = 0; i < kVertices; ++i) {
    const double angle = 2 * std::numbers::pi * i / kVertices;
    const double radius = (i % 2 ? 0.30 : 0.48) * kHeight;
    pts.push_back({int32_t(kWidth / 2 + radius * std::cos(angle)), int32_t(kHeight / 2 + radius * std::sin(angle))});
  }
  return pts;
}

TIEMask StarMask(int bits) {
  TIEMask mask;
  mask.Allocate(kWidth, kHeight, bits);
  const std::vector<TIEPoint> pts = Star();
  mask.FillPolygon(255, pts.data(), int64_t(pts.size()));
  return mask;
}

using bench::TimedAgainstMemcpy;

void BM_polygon_fill(benchmark::State& state) {
  const int bits = int(state.range(0));
  TIEMask mask;
  mask.Allocate(kWidth, kHeight, bits);
  const std::vector<TIEPoint> pts = Star();
  TimedAgainstMemcpy(state, mask.RowLength() * kHeight, [&] {
    mask.FillPolygon(255, pts.data(), int64_t(pts.size()));
    benchmark::DoNotOptimize(mask.ScanLine(0));
  });
}
BENCHMARK(BM_polygon_fill)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

void CopyCase(benchmark::State& state, const TIEMask& mask) {
  TIEWorkingBitmap dst(kWidth, kHeight, TIEPixelFormat::pf24bit), src(kWidth, kHeight, TIEPixelFormat::pf24bit);
  src.Fill(MakeBGR(10, 200, 30));
  TimedAgainstMemcpy(state, src.RowBytes() * kHeight, [&] {
    mask.CopyThroughMask(dst, src, false, false);
    benchmark::DoNotOptimize(dst.Bits());
    benchmark::ClobberMemory();
  });
}

void BM_copy_through_mask(benchmark::State& state) { CopyCase(state, StarMask(int(state.range(0)))); }
BENCHMARK(BM_copy_through_mask)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

// Soft alpha: every pixel of the box blends instead of copying.
void BM_copy_through_soft_alpha(benchmark::State& state) {
  TIEMask mask;
  mask.Allocate(kWidth, kHeight, 8);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) mask.ScanLine(y)[x] = uint8_t(1 + (x + y) % 254);
  mask.SetBox(0, 0, kWidth - 1, kHeight - 1);
  CopyCase(state, mask);
}
BENCHMARK(BM_copy_through_soft_alpha)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return quillet::bench::RunBenchmarks(argc, argv); }
