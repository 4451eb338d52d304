// BMP decode and encode (24-bit, 8-bit and RLE8) timings on 4000 x 3000 photo-like files: the ones
// bench/peers shares in $QUILLET_BENCH_DIR, or files generated here at start.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "bench/codec_calls.h"
#include "bench/photo_like.h"
#include "imaging/core/dib_rle.h"
#include "imaging/io/formats/bmp/bmp_codec.h"

namespace {

using namespace quillet;
using bench::PhotoLike;

constexpr int kWidth = 4000, kHeight = 3000;

struct TInputs {
  std::vector<uint8_t> bmp24, bmp8, rle8;
};

void PutU32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// The bitmap as a BMP file: 24 bits, or 8-bit palette rows (plain or RLE8).
std::vector<uint8_t> Encode(const TIEWorkingBitmap& bitmap, int bits = 24, bool rle = false) {
  TIOParamsVals params;
  if (bits == 8) params.SamplesPerPixel = 1;
  params.BmpCompression = rle ? 1 : 0;
  return bench::EncodeBytes(WriteBMPStream, bitmap, params);
}

// An 8-bit file around `data` (rows bottom-up, uncompressed or RLE8).
std::vector<uint8_t> Indexed8(const std::array<TBGR, 256>& palette, const std::vector<uint8_t>& data, bool rle) {
  std::vector<uint8_t> f(14 + 40, 0);
  f[0] = 'B', f[1] = 'M';
  PutU32(f, 10, 14 + 40 + 1024);
  PutU32(f, 14, 40);
  PutU32(f, 18, kWidth);
  PutU32(f, 22, kHeight);
  f[26] = 1, f[28] = 8;
  PutU32(f, 30, rle ? 1 : 0);
  PutU32(f, 34, uint32_t(data.size()));
  PutU32(f, 46, 256);
  for (const TBGR& c : palette) f.insert(f.end(), {c.b, c.g, c.r, 0});
  f.insert(f.end(), data.begin(), data.end());
  PutU32(f, 2, uint32_t(f.size()));
  return f;
}

// The photo through a 6 x 7 x 6 colour cube, as uncompressed and RLE8 rows.
void MakePaletteFiles(const TIEWorkingBitmap& photo, TInputs& in) {
  std::array<TBGR, 256> palette{};
  for (int i = 0; i < 252; ++i)
    palette[size_t(i)] = MakeBGR(uint8_t(i / 42 * 51), uint8_t(i / 6 % 7 * 42), uint8_t(i % 6 * 51));
  std::vector<uint8_t> plain, rle, row(kWidth);
  for (int y = kHeight - 1; y >= 0; --y) {
    const uint8_t* p = photo.ScanLine(y);
    for (int x = 0; x < kWidth; ++x, p += 3)
      row[size_t(x)] = uint8_t(p[2] * 6 / 256 * 42 + p[1] * 7 / 256 * 6 + p[0] * 6 / 256);
    plain.insert(plain.end(), row.begin(), row.end());
    EncodeDibRleRow(row.data(), kWidth, 8, rle);
  }
  rle.insert(rle.end(), {0, 1});
  in.bmp8 = Indexed8(palette, plain, false);
  in.rle8 = Indexed8(palette, rle, true);
}

std::vector<uint8_t> LoadFile(const std::string& dir, const std::string& name) {
  std::ifstream file(dir + "/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

const TInputs& Inputs() {
  static const TInputs inputs = [] {
    TInputs in;
    if (const char* dir = std::getenv("QUILLET_BENCH_DIR")) {
      in.bmp24 = LoadFile(dir, "bmp24.bmp");
      in.bmp8 = LoadFile(dir, "bmp8.bmp");
      in.rle8 = LoadFile(dir, "rle8.bmp");
      return in;
    }
    const TIEWorkingBitmap photo = PhotoLike();
    in.bmp24 = Encode(photo);
    MakePaletteFiles(photo, in);
    return in;
  }();
  return inputs;
}

bool Decode(const std::vector<uint8_t>& bytes, TIEWorkingBitmap& bitmap) {
  return bench::DecodeBytes(ReadBMPStream, bytes, bitmap);
}

void DecodeCase(benchmark::State& state, const std::vector<uint8_t>& bytes) {
  TIEWorkingBitmap check;
  if (bytes.empty() || !Decode(bytes, check)) return state.SkipWithError("input missing or unreadable");
  for (auto _ : state) {
    TIEWorkingBitmap fresh;
    Decode(bytes, fresh);
    benchmark::DoNotOptimize(fresh.Bits());
  }
}

void BM_decode_bmp24(benchmark::State& state) { DecodeCase(state, Inputs().bmp24); }
void BM_decode_bmp8(benchmark::State& state) { DecodeCase(state, Inputs().bmp8); }
void BM_decode_rle8(benchmark::State& state) { DecodeCase(state, Inputs().rle8); }

// Writes the decoded `source` file; the 8-bit cases start from the 24-bit
// image of at most 256 colours a palette file decodes to, so they index it.
void EncodeCase(benchmark::State& state, const std::vector<uint8_t>& source, int bits, bool rle) {
  TIEWorkingBitmap bitmap;
  if (!Decode(source, bitmap)) return state.SkipWithError("input missing or unreadable");
  for (auto _ : state) benchmark::DoNotOptimize(Encode(bitmap, bits, rle).data());
}

void BM_encode_bmp24(benchmark::State& state) { EncodeCase(state, Inputs().bmp24, 24, false); }
void BM_encode_bmp8(benchmark::State& state) { EncodeCase(state, Inputs().bmp8, 8, false); }
void BM_encode_rle8(benchmark::State& state) { EncodeCase(state, Inputs().bmp8, 8, true); }

BENCHMARK(BM_decode_bmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_bmp8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_decode_rle8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_bmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_bmp8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_encode_rle8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
