// JPEG and PNG decode and encode timings on a 4000 x 3000 photo-like picture:
// the files bench/jpeg_png_peers shares in $QUILLET_BENCH_DIR, or files
// written here by the codecs at start.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "bench/photo_like.h"
#include "imaging/core/mask.h"
#include "imaging/io/formats/jpeg/jpeg_codec.h"
#include "imaging/io/formats/png/png_codec.h"

namespace {

using namespace quillet;
using bench::PhotoLike;

using TSetup = std::function<void(TIOParamsVals&)>;

// The photo and an alpha plane that fades across it.
struct TSource {
  TIEWorkingBitmap photo = PhotoLike();
  TIEMask alpha;
  TSource() {
    alpha.Allocate(photo.Width(), photo.Height(), 8);
    for (int64_t y = 0; y < photo.Height(); ++y) {
      uint8_t* row = alpha.ScanLine(y);
      for (int64_t x = 0; x < photo.Width(); ++x) row[x] = uint8_t(x * 255 / photo.Width());
    }
  }
};

const TSource& Source() {
  static const TSource source;
  return source;
}

std::vector<uint8_t> Encode(TIOWriteProc write, const TSetup& setup, bool withAlpha, bool& ok) {
  TIEMemoryStream out;
  TIOParamsVals params;
  setup(params);
  bool aborting = false;
  TIOProgress progress;
  progress.Aborting = &aborting;
  TIOWriteArgs args{out, Source().photo, params, progress, withAlpha ? &Source().alpha : nullptr};
  write(args);
  ok = !aborting;
  return std::move(out.Bytes());
}

struct TInput {
  TIOWriteProc write;
  TSetup setup;
  bool alpha;
};

const std::map<std::string, TInput>& InputRecipes() {
  static const std::map<std::string, TInput> recipes = {
      {"q50.jpg", {WriteJPEGStream, [](TIOParamsVals& p) { p.JpegQuality = 50; }, false}},
      {"q90.jpg", {WriteJPEGStream, [](TIOParamsVals& p) { p.JpegQuality = 90; }, false}},
      {"q90p.jpg", {WriteJPEGStream, [](TIOParamsVals& p) { p.JpegQuality = 90, p.JpegProgressive = true; }, false}},
      {"rgb.png", {WritePNGStream, [](TIOParamsVals&) {}, false}},
      {"rgba.png", {WritePNGStream, [](TIOParamsVals&) {}, true}},
  };
  return recipes;
}

const std::vector<uint8_t>& Input(const std::string& name) {
  static std::map<std::string, std::vector<uint8_t>> inputs;
  auto& bytes = inputs[name];
  if (!bytes.empty()) return bytes;
  if (const char* dir = std::getenv("QUILLET_BENCH_DIR")) {
    std::ifstream file(std::string(dir) + "/" + name, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), {});
    return bytes;
  }
  const TInput& r = InputRecipes().at(name);
  bool ok = false;
  bytes = Encode(r.write, r.setup, r.alpha, ok);
  return bytes;
}

bool Decode(TIOReadProc read, const std::vector<uint8_t>& bytes, const TSetup& setup, TIEWorkingBitmap& bitmap,
            TIEMask* alpha) {
  TIEMemoryStream stream(bytes.data(), int64_t(bytes.size()));
  TIOParamsVals params;
  setup(params);
  bool aborting = false;
  TIOProgress progress;
  progress.Aborting = &aborting;
  TIOReadArgs args{stream, bitmap, params, progress, false, int64_t(bytes.size()), alpha};
  read(args);
  return !aborting;
}

// PNG files decode with an alpha plane, as a view reads them.
void DecodeCase(benchmark::State& state, TIOReadProc read, const std::string& name, const TSetup& setup = [](TIOParamsVals&) {}) {
  const std::vector<uint8_t>& bytes = Input(name);
  TIEWorkingBitmap check;
  TIEMask checkAlpha;
  if (bytes.empty() || !Decode(read, bytes, setup, check, &checkAlpha)) return state.SkipWithError("input missing or unreadable");
  for (auto _ : state) {
    TIEWorkingBitmap fresh;
    TIEMask alpha;
    Decode(read, bytes, setup, fresh, &alpha);
    benchmark::DoNotOptimize(fresh.Bits());
  }
}

void EncodeCase(benchmark::State& state, TIOWriteProc write, const TSetup& setup, bool withAlpha) {
  Source();
  for (auto _ : state) {
    bool ok = false;
    benchmark::DoNotOptimize(Encode(write, setup, withAlpha, ok).data());
    if (!ok) return state.SkipWithError("encoding failed");
  }
}

const TSetup kEighth = [](TIOParamsVals& p) { p.JpegScale = 4; };

void BM_decode_jpeg_q50(benchmark::State& s) { DecodeCase(s, ReadJPEGStream, "q50.jpg"); }
void BM_decode_jpeg_q90(benchmark::State& s) { DecodeCase(s, ReadJPEGStream, "q90.jpg"); }
void BM_decode_jpeg_q90_progressive(benchmark::State& s) { DecodeCase(s, ReadJPEGStream, "q90p.jpg"); }
void BM_decode_jpeg_q90_eighth(benchmark::State& s) { DecodeCase(s, ReadJPEGStream, "q90.jpg", kEighth); }
void BM_decode_jpeg_q90_progressive_eighth(benchmark::State& s) { DecodeCase(s, ReadJPEGStream, "q90p.jpg", kEighth); }
void BM_encode_jpeg_q50(benchmark::State& s) {
  EncodeCase(s, WriteJPEGStream, [](TIOParamsVals& p) { p.JpegQuality = 50; }, false);
}
void BM_encode_jpeg_q90(benchmark::State& s) {
  EncodeCase(s, WriteJPEGStream, [](TIOParamsVals& p) { p.JpegQuality = 90; }, false);
}
void BM_encode_jpeg_q90_progressive(benchmark::State& s) {
  EncodeCase(s, WriteJPEGStream, [](TIOParamsVals& p) { p.JpegQuality = 90, p.JpegProgressive = true; }, false);
}
void BM_decode_png_rgb(benchmark::State& s) { DecodeCase(s, ReadPNGStream, "rgb.png"); }
void BM_decode_png_rgba(benchmark::State& s) { DecodeCase(s, ReadPNGStream, "rgba.png"); }
template <int Level, bool Alpha, TIOPNGFilter Filter>
void BM_encode_png(benchmark::State& s) {
  EncodeCase(s, WritePNGStream, [](TIOParamsVals& p) { p.PngCompression = Level, p.PngFilter = Filter; }, Alpha);
}

BENCHMARK(BM_decode_jpeg_q50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_jpeg_q90)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_jpeg_q90_progressive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_jpeg_q90_eighth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_jpeg_q90_progressive_eighth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_jpeg_q50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_jpeg_q90)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_jpeg_q90_progressive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_png_rgb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_png_rgba)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_png<5, false, TIOPNGFilter::NONE>)->Name("BM_encode_png_rgb_c5")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_png<9, false, TIOPNGFilter::NONE>)->Name("BM_encode_png_rgb_c9")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_png<5, true, TIOPNGFilter::NONE>)->Name("BM_encode_png_rgba_c5")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_png<9, true, TIOPNGFilter::NONE>)->Name("BM_encode_png_rgba_c9")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_png<5, false, TIOPNGFilter::PAETH>)->Name("BM_encode_png_rgb_c5_paeth")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
