// BMP decode and encode timings on 4000 x 3000 photo-like files that
// bench/peers prepares in $QUILLET_BENCH_DIR (bmp24.bmp, bmp8.bmp, rle8.bmp).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/io/bmp_codec.h"

namespace {

using namespace quillet;

std::vector<uint8_t> LoadInput(const std::string& name) {
  const char* dir = std::getenv("QUILLET_BENCH_DIR");
  std::ifstream in(std::string(dir ? dir : ".") + "/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool Decode(const std::vector<uint8_t>& bytes, TIEWorkingBitmap& bitmap) {
  TIEMemoryStream stream(bytes.data(), int64_t(bytes.size()));
  TIOParamsVals params;
  bool aborting = false;
  TIOProgress progress;
  progress.Aborting = &aborting;
  TIOReadArgs args{stream, bitmap, params, progress, false, int64_t(bytes.size())};
  ReadBMPStream(args);
  return !aborting;
}

void DecodeCase(benchmark::State& state, const char* file) {
  const std::vector<uint8_t> bytes = LoadInput(file);
  TIEWorkingBitmap bitmap;
  if (bytes.empty() || !Decode(bytes, bitmap)) return state.SkipWithError("input missing: run bench/peers");
  for (auto _ : state) {
    TIEWorkingBitmap fresh;
    Decode(bytes, fresh);
    benchmark::DoNotOptimize(fresh.Bits());
  }
}

void BM_decode_bmp24(benchmark::State& state) { DecodeCase(state, "bmp24.bmp"); }
void BM_decode_bmp8(benchmark::State& state) { DecodeCase(state, "bmp8.bmp"); }
void BM_decode_rle8(benchmark::State& state) { DecodeCase(state, "rle8.bmp"); }

void BM_encode_bmp24(benchmark::State& state) {
  TIEWorkingBitmap bitmap;
  if (!Decode(LoadInput("bmp24.bmp"), bitmap)) return state.SkipWithError("input missing: run bench/peers");
  for (auto _ : state) {
    TIEMemoryStream out;
    TIOParamsVals params;
    bool aborting = false;
    TIOProgress progress;
    progress.Aborting = &aborting;
    TIOWriteArgs args{out, bitmap, params, progress};
    WriteBMPStream(args);
    benchmark::DoNotOptimize(out.Data());
  }
}

BENCHMARK(BM_decode_bmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_bmp8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_rle8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_bmp24)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
