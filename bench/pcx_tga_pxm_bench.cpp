// PCX, Targa and PXM decode and encode timings on the 4000 x 3000 photo-like
// files bench/pcx_tga_pxm_peers makes in $QUILLET_BENCH_DIR, each case beside
// a memcpy of its pixel bytes (counters memcpy_ms and ratio). A decode makes a
// new bitmap each time, against a memcpy into new memory; an encode writes
// into memory kept from the iteration before, as Pillow's in-memory file
// reuses its own, against a memcpy into memory that is already there. The
// codecs are reached through the format table, so a format without a reader
// or writer fails its cases instead of the build.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/codec_calls.h"
#include "bench/memcpy_ratio.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/file_types.h"
#include "imaging/io/format_table.h"

namespace {

using namespace quillet;

const std::vector<uint8_t>& File(const std::string& name) {
  static std::vector<std::pair<std::string, std::vector<uint8_t>>> cache;
  for (const auto& [n, bytes] : cache)
    if (n == name) return bytes;
  const char* dir = std::getenv("QUILLET_BENCH_DIR");
  std::ifstream in(std::string(dir ? dir : ".") + "/" + name, std::ios::binary);
  return cache.emplace_back(name, std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {})).second;
}

TIOReadProc Reader(int32_t type) {
  const TFileFormatInfo* format = FindFormatByType(type);
  return format ? format->ReadProc : nullptr;
}

TIOWriteProc Writer(int32_t type) {
  const TFileFormatInfo* format = FindFormatByType(type);
  return format ? format->WriteProc : nullptr;
}

bool Decode(int32_t type, const std::string& file, TIEWorkingBitmap& bitmap) {
  const TIOReadProc read = Reader(type);
  return read && !File(file).empty() && bench::DecodeBytes(read, File(file), bitmap) && !bitmap.Empty();
}

int64_t PixelBytes(const TIEWorkingBitmap& bitmap) { return bitmap.RowBytes() * bitmap.Height(); }

// Decodes `file` into a new bitmap each time, as opening a file does.
void DecodeCase(benchmark::State& state, int32_t type, const char* file) {
  InstallDefaultCoders();
  TIEWorkingBitmap check;
  if (!Decode(type, file, check)) return state.SkipWithError("input missing or unreadable (run bench/pcx_tga_pxm_peers)");
  bench::TimedAgainstMemcpy(state, PixelBytes(check), [&] {
    TIEWorkingBitmap fresh;
    Decode(type, file, fresh);
    benchmark::DoNotOptimize(fresh.Bits());
  }, true);
}

// What an encode case writes: the layout the parameters ask for, from the
// decoded source file.
struct TEncode {
  int32_t type;
  const char* source;
  int bits, samples;
  bool compressed;
};

void EncodeCase(benchmark::State& state, TEncode e) {
  InstallDefaultCoders();
  TIEWorkingBitmap bitmap;
  const TIOWriteProc write = Writer(e.type);
  if (!write) return state.SkipWithError("no writer for the format");
  if (!Decode(ftPXM, e.source, bitmap)) return state.SkipWithError("input missing or unreadable (run bench/pcx_tga_pxm_peers)");
  TIOParamsVals params;
  params.BitsPerSample = e.bits;
  params.SamplesPerPixel = e.samples;
  params.PcxCompression = e.compressed ? 1 : 0;
  params.TgaCompressed = e.compressed;
  std::vector<uint8_t> memory;
  bench::TimedAgainstMemcpy(state, PixelBytes(bitmap), [&] {
    TIOParamsVals each = params;
    memory = bench::EncodeBytes(write, bitmap, each, std::move(memory));
    benchmark::DoNotOptimize(memory.data());
  });
}

#define DECODE(name, type, file) \
  BENCHMARK_CAPTURE(DecodeCase, name, type, file)->Name("BM_decode_" #name)->Unit(benchmark::kMillisecond)
#define ENCODE(name, ...) \
  BENCHMARK_CAPTURE(EncodeCase, name, TEncode{__VA_ARGS__})->Name("BM_encode_" #name)->Unit(benchmark::kMillisecond)

DECODE(pcx24, ftPCX, "photo24.pcx");
DECODE(pcx8, ftPCX, "photo8.pcx");
DECODE(tga24, ftTGA, "photo24.tga");
DECODE(tga24_rle, ftTGA, "photo24_rle.tga");
DECODE(tga8, ftTGA, "photo8.tga");
DECODE(p6, ftPXM, "photo.ppm");
DECODE(p5, ftPXM, "photo.pgm");
DECODE(p4, ftPXM, "photo.pbm");
DECODE(p3, ftPXM, "crop_plain.ppm");

// The 8-bit cases start from the 24-bit photo, the quantizer included.
ENCODE(pcx24, ftPCX, "photo.ppm", 8, 3, true);
ENCODE(pcx8, ftPCX, "photo.ppm", 8, 1, true);
ENCODE(tga24, ftTGA, "photo.ppm", 8, 3, false);
ENCODE(tga24_rle, ftTGA, "photo.ppm", 8, 3, true);
ENCODE(tga8, ftTGA, "photo.ppm", 8, 1, false);
ENCODE(p6, ftPXM, "photo.ppm", 8, 3, false);
ENCODE(p5, ftPXM, "photo.pgm", 8, 1, false);
ENCODE(p4, ftPXM, "photo.pbm", 1, 1, false);

}  // namespace

BENCHMARK_MAIN();
