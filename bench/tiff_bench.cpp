// TIFF decode and encode timings: the 4000 x 3000 photo-like picture in every
// compression and layout, and a 4000 x 3000 document-like bilevel page in the
// fax compressions. The files are the ones bench/tiff_peers writes into
// $QUILLET_BENCH_DIR. A decode makes a new bitmap each time, as opening a
// file does; an encode writes into memory kept from the iteration before, as
// the peers write into a file or memory already there.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/codec_calls.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/formats/tiff/tiff_codec.h"

namespace {

using namespace quillet;

std::vector<uint8_t> Load(const std::string& name) {
  const char* dir = std::getenv("QUILLET_BENCH_DIR");
  std::ifstream in(std::string(dir ? dir : ".") + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool Decode(const std::vector<uint8_t>& file, TIEWorkingBitmap& bitmap) {
  return !file.empty() && bench::DecodeBytes(ReadTIFFStream, file, bitmap);
}

void BM_Decode(benchmark::State& state, const char* file) {
  InstallDefaultCoders();
  const std::vector<uint8_t> bytes = Load(file);
  for (auto _ : state) {
    TIEWorkingBitmap fresh;
    if (!Decode(bytes, fresh)) return state.SkipWithError("cannot decode the input (run bench/tiff_peers)");
    benchmark::DoNotOptimize(fresh.Bits());
  }
}

void BM_Encode(benchmark::State& state, const char* source, TIOTIFFCompression compression) {
  InstallDefaultCoders();
  TIEWorkingBitmap bitmap;
  if (!Decode(Load(source), bitmap)) return state.SkipWithError("cannot decode the input (run bench/tiff_peers)");
  TIOParamsVals params;
  params.TiffCompression = compression;
  params.BitsPerSample = bitmap.BitCount() == 1 ? 1 : 8;
  params.SamplesPerPixel = bitmap.BitCount() == 1 ? 1 : 3;
  std::vector<uint8_t> memory;
  for (auto _ : state) {
    TIOParamsVals each = params;
    memory = bench::EncodeBytes(WriteTIFFStream, bitmap, each, std::move(memory));
    benchmark::DoNotOptimize(memory.data());
  }
  state.counters["out_bytes"] = double(memory.size());
}

using C = TIOTIFFCompression;
BENCHMARK_CAPTURE(BM_Decode, decode_none, "photo_none.tif")->Name("BM_decode_none")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, decode_lzw, "photo_lzw.tif")->Name("BM_decode_lzw")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, decode_lzw_pred, "photo_lzw2.tif")->Name("BM_decode_lzw_pred")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, decode_packbits, "photo_packbits.tif")->Name("BM_decode_packbits")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, decode_tiled_lzw, "photo_tiled.tif")->Name("BM_decode_tiled_lzw")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, decode_planar, "photo_planar.tif")->Name("BM_decode_planar")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, decode_rgb16, "photo_rgb16.tif")->Name("BM_decode_rgb16")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, decode_g3_1d, "doc_g31d.tif")->Name("BM_decode_g3_1d")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, decode_g3_2d, "doc_g32d.tif")->Name("BM_decode_g3_2d")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Decode, decode_g4, "doc_g4.tif")->Name("BM_decode_g4")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, encode_none, "photo_none.tif", C::UNCOMPRESSED)->Name("BM_encode_none")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, encode_lzw_pred, "photo_none.tif", C::LZW)->Name("BM_encode_lzw_pred")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, encode_packbits, "photo_none.tif", C::PACKBITS)->Name("BM_encode_packbits")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, encode_g3_1d, "doc_none.tif", C::G3FAX1D)->Name("BM_encode_g3_1d")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, encode_g3_2d, "doc_none.tif", C::G3FAX2D)->Name("BM_encode_g3_2d")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Encode, encode_g4, "doc_none.tif", C::G4FAX)->Name("BM_encode_g4")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
