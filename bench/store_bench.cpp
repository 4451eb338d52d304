// Image store timings on a 4000 x 3000 24-bit image: copying in and out of
// TIEBitmap at each location, the DIB list and the tiled bitmap, each as a
// ratio to a memcpy of the image's bytes (into new memory where the case
// allocates its store).
#include <benchmark/benchmark.h>

#include "bench/bench_lines.h"
#include "bench/memcpy_ratio.h"
#include "imaging/core/ie_bitmap.h"
#include "imaging/core/virtual_bitmap.h"
#include "imaging/core/virtual_dib_list.h"

namespace {

using namespace quillet;
using bench::TimedAgainstMemcpy;

constexpr int kWidth = 4000, kHeight = 3000;

const TIEWorkingBitmap& Photo() {
  static const TIEWorkingBitmap photo = [] {
    TIEWorkingBitmap b(kWidth, kHeight, TIEPixelFormat::pf24bit);
    for (int y = 0; y < kHeight; ++y)
      for (int i = 0; i < kWidth * 3; ++i) b.ScanLine(y)[i] = uint8_t(i * 7 + y * 3);
    return b;
  }();
  return photo;
}

int64_t PhotoBytes() { return Photo().RowBytes() * kHeight; }

constexpr TIEBitmapLocation kLocations[] = {TIEBitmapLocation::ieMemory, TIEBitmapLocation::ieFile,
                                             TIEBitmapLocation::ieWorkingBitmap};

// Allocation and copy, as an undo snapshot does.
void BM_bitmap_copy_in(benchmark::State& state) {
  TIEBitmap store;
  store.SetLocation(kLocations[state.range(0)]);
  TimedAgainstMemcpy(state, PhotoBytes(), [&] {
    store.CopyFromBitmap(Photo());
    benchmark::DoNotOptimize(store.ScanLine(0));
  }, true);
}
BENCHMARK(BM_bitmap_copy_in)->DenseRange(0, 2)->ArgName("location")->Unit(benchmark::kMillisecond);

void BM_bitmap_copy_out(benchmark::State& state) {
  TIEBitmap store;
  store.SetLocation(kLocations[state.range(0)]);
  store.CopyFromBitmap(Photo());
  TIEWorkingBitmap out(kWidth, kHeight, TIEPixelFormat::pf24bit);
  TimedAgainstMemcpy(state, PhotoBytes(), [&] {
    store.CopyToBitmap(out);
    benchmark::DoNotOptimize(out.Bits());
  });
}
BENCHMARK(BM_bitmap_copy_out)->DenseRange(0, 2)->ArgName("location")->Unit(benchmark::kMillisecond);

void BM_dib_list_store_and_copy_out(benchmark::State& state) {
  TIEVirtualDIBList list;
  TIEVirtualImage* image = list.AddBitmap(Photo());
  TIEWorkingBitmap out(kWidth, kHeight, TIEPixelFormat::pf24bit);
  TimedAgainstMemcpy(state, 2 * PhotoBytes(), [&] {
    list.StoreBitmap(image, Photo());
    list.CopyToBitmap(image, out);
    benchmark::DoNotOptimize(out.Bits());
  });
}
BENCHMARK(BM_dib_list_store_and_copy_out)->Unit(benchmark::kMillisecond);

void BM_virtual_bitmap_copy_in(benchmark::State& state) {
  TIEVirtualBitmap tiles(state.range(0) ? TIEVirtualBacking::ieAnonymousMemory : TIEVirtualBacking::ieTempFile);
  TimedAgainstMemcpy(state, PhotoBytes(), [&] { benchmark::DoNotOptimize(tiles.CopyFrom(Photo())); }, true);
}
BENCHMARK(BM_virtual_bitmap_copy_in)->DenseRange(0, 1)->ArgName("anonymous")->Unit(benchmark::kMillisecond);

void BM_virtual_bitmap_lookup(benchmark::State& state) {
  uint8_t gamma[256];
  for (int i = 0; i < 256; ++i) gamma[i] = uint8_t(255 - i);
  TIEVirtualBitmap tiles(state.range(0) ? TIEVirtualBacking::ieAnonymousMemory : TIEVirtualBacking::ieTempFile);
  tiles.CopyFrom(Photo());
  TimedAgainstMemcpy(state, PhotoBytes(), [&] { tiles.ApplyLookup(gamma); });
}
BENCHMARK(BM_virtual_bitmap_lookup)->DenseRange(0, 1)->ArgName("anonymous")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return quillet::bench::RunBenchmarks(argc, argv); }
