// GIF decode and encode timings on 4000 x 3000 files that bench/gif_peers
// makes in $QUILLET_BENCH_DIR: the photo-like picture at 256 colours, plain
// and interlaced, and a 16-colour chart of flat areas and thin lines. An
// encode writes into memory kept from the iteration before.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/codec_calls.h"
#include "bench/photo_like.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/formats/gif/gif_blocks.h"
#include "imaging/io/formats/gif/gif_codec.h"

namespace {

using namespace quillet;

std::vector<uint8_t> LoadFile(const std::string& name) {
  const char* dir = std::getenv("QUILLET_BENCH_DIR");
  std::ifstream f(std::string(dir ? dir : ".") + "/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

const std::vector<uint8_t>& File(const std::string& name) {
  static std::vector<std::pair<std::string, std::vector<uint8_t>>> cache;
  for (const auto& [n, bytes] : cache)
    if (n == name) return bytes;
  return cache.emplace_back(name, LoadFile(name)).second;
}

bool Decode(const std::vector<uint8_t>& bytes, TIEWorkingBitmap& bitmap) {
  return bench::DecodeBytes(ReadGIFStream, bytes, bitmap) && !bitmap.Empty();
}

// Writes into `memory`, kept from the call before.
void Encode(const TIEWorkingBitmap& bitmap, int bits, std::vector<uint8_t>& memory) {
  TIOParamsVals params;
  params.BitsPerSample = bits;
  memory = bench::EncodeBytes(WriteGIFStream, bitmap, params, std::move(memory));
}

// The indices of the first image of a file, straight from the decoder slot.
std::vector<uint8_t> Indices(const std::vector<uint8_t>& bytes, int64_t& width, int64_t& height) {
  TIEMemoryStream in(bytes.data(), int64_t(bytes.size()));
  TGifScreen screen;
  std::vector<uint8_t> indices;
  if (!ReadGifScreen(in, screen)) return indices;
  WalkGifBlocks(in, [&](TGifImage& image) {
    width = image.Width, height = image.Height;
    indices.assign(size_t(width * height), 0);
    GifLzwDecode(in, height, width, indices.data(), image.Interlaced());
    return TGifVisit::gvStop;
  });
  return indices;
}

void DecodeCase(benchmark::State& state, const char* name) {
  InstallDefaultCoders();
  TIEWorkingBitmap bitmap;
  if (!Decode(File(name), bitmap)) return state.SkipWithError("input missing or unreadable");
  for (auto _ : state) {
    TIEWorkingBitmap fresh;
    Decode(File(name), fresh);
    benchmark::DoNotOptimize(fresh.Bits());
  }
}

// The 24-bit picture, quantizer included: the photo as generated, the chart as decoded.
void EncodeCase(benchmark::State& state, const char* name, int bits) {
  InstallDefaultCoders();
  TIEWorkingBitmap bitmap;
  if (name)
    Decode(File(name), bitmap);
  else
    bitmap = bench::PhotoLike();
  if (bitmap.Empty()) return state.SkipWithError("input missing or unreadable");
  std::vector<uint8_t> memory;
  for (auto _ : state) {
    Encode(bitmap, bits, memory);
    benchmark::DoNotOptimize(memory.data());
  }
}

void IndicesCase(benchmark::State& state, const char* name, int bits) {
  int64_t width = 0, height = 0;
  const std::vector<uint8_t> indices = Indices(File(name), width, height);
  if (indices.empty()) return state.SkipWithError("input missing or unreadable");
  std::vector<uint8_t> memory;
  for (auto _ : state) {
    memory.clear();
    TIEMemoryStream out(std::move(memory));
    GifLzwEncode(out, height, width, bits, indices.data(), false);
    memory = std::move(out.Bytes());
    benchmark::DoNotOptimize(memory.data());
  }
}

void BM_decode_gif_photo256(benchmark::State& state) { DecodeCase(state, "photo256.gif"); }
void BM_decode_gif_photo256_interlaced(benchmark::State& state) { DecodeCase(state, "photo256i.gif"); }
void BM_decode_gif_chart16(benchmark::State& state) { DecodeCase(state, "chart16.gif"); }
void BM_encode_gif_photo256(benchmark::State& state) { EncodeCase(state, nullptr, 8); }
void BM_encode_gif_chart16(benchmark::State& state) { EncodeCase(state, "chart16.gif", 4); }
void BM_encode_gif_indices_photo256(benchmark::State& state) { IndicesCase(state, "photo256.gif", 8); }
void BM_encode_gif_indices_chart16(benchmark::State& state) { IndicesCase(state, "chart16.gif", 4); }

BENCHMARK(BM_decode_gif_photo256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_gif_photo256_interlaced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_gif_chart16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_gif_photo256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_gif_chart16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_gif_indices_photo256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_gif_indices_chart16)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
