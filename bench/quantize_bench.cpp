// Colour quantization timings: a 4000 x 3000 photo-like image (and a real
// photo when bench/quantize_peers provides one) reduced to 16, 64 and 256
// colours, palette and indices of every pixel, with the result's mean squared error.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/photo_like.h"
#include "imaging/io/ziridev_io.h"
#include "imaging/proc/quantizer.h"

namespace {

using namespace quillet;
using bench::PhotoLike;

constexpr int kWidth = 4000, kHeight = 3000;

// A BMP from $QUILLET_BENCH_DIR, or an empty bitmap.
TIEWorkingBitmap LoadShared(const char* name) {
  TIEWorkingBitmap bitmap;
  const char* dir = std::getenv("QUILLET_BENCH_DIR");
  if (!dir) return bitmap;
  TZiridEvIO io;
  io.SetAttachedBitmap(&bitmap);
  io.LoadFromFile(std::string(dir) + "/" + name);
  return io.Aborting ? TIEWorkingBitmap() : bitmap;
}

const TIEWorkingBitmap& Photo() {
  static const TIEWorkingBitmap photo = [] {
    TIEWorkingBitmap shared = LoadShared("photo.bmp");
    return shared.Empty() ? PhotoLike() : shared;
  }();
  return photo;
}

const TIEWorkingBitmap& RealPhoto() {
  static const TIEWorkingBitmap real = LoadShared("real.bmp");
  return real;
}

// The palette and the index of every pixel: what a palette image needs.
void Reduce(const TIEWorkingBitmap& img, int colors, std::vector<TBGR>& palette, std::vector<uint8_t>& indices) {
  palette.assign(256, kBlack);
  const TIEQuantizer q(TIEQuantizerSource(img), palette, colors);
  q.MapImage(TIEQuantizerSource(img), indices.data(), img.Width());
}

double MeanSquaredError(const TIEWorkingBitmap& img, const std::vector<TBGR>& palette, const std::vector<uint8_t>& indices) {
  double sum = 0;
  for (int64_t y = 0; y < img.Height(); ++y) {
    const uint8_t* p = img.ScanLine(y);
    for (int64_t x = 0; x < img.Width(); ++x, p += 3) {
      const TBGR& c = palette[indices[size_t(y * img.Width() + x)]];
      const double db = p[0] - c.b, dg = p[1] - c.g, dr = p[2] - c.r;
      sum += db * db + dg * dg + dr * dr;
    }
  }
  return sum / (3.0 * double(img.Width() * img.Height()));
}

void QuantizeCase(benchmark::State& state, const TIEWorkingBitmap& img) {
  if (img.Empty()) return state.SkipWithError("image missing");
  const int colors = int(state.range(0));
  std::vector<TBGR> palette;
  std::vector<uint8_t> indices(size_t(img.Width() * img.Height()));
  for (auto _ : state) {
    Reduce(img, colors, palette, indices);
    benchmark::DoNotOptimize(indices.data());
  }
  state.counters["mse"] = MeanSquaredError(img, palette, indices);
}

void BM_quantize_photo(benchmark::State& state) { QuantizeCase(state, Photo()); }
void BM_quantize_real(benchmark::State& state) { QuantizeCase(state, RealPhoto()); }

BENCHMARK(BM_quantize_photo)->Arg(16)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_quantize_real)->Arg(16)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
