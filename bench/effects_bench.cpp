// Effects timings on the photo-like image (4000 x 3000, or --size=WxH): the
// user filter's Blur and Emboss presets, the bump map, lens and waves as the
// preview dialog starts them, the morphological maximum with windows 1 and 5
// and the opening with window 3, and the Fourier transform of the three
// channels forward and back. The copy an in-place effect works on is not timed.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "bench/photo_like.h"
#include "imaging/proc/effect_bump_map.h"
#include "imaging/proc/effect_fourier.h"
#include "imaging/proc/effect_lens.h"
#include "imaging/proc/effect_morph.h"
#include "imaging/proc/effect_user_filter.h"
#include "imaging/proc/effect_wave.h"

namespace {

using namespace quillet;

using bench::Photo;

template <class Effect>
void InPlace(benchmark::State& state, Effect effect) {
  for (auto _ : state) {
    state.PauseTiming();
    TIEWorkingBitmap image = Photo();
    state.ResumeTiming();
    effect(image);
    benchmark::DoNotOptimize(image.Bits());
  }
}

// The dialog's light and lens box: centred, half the shorter side.
// Where the dialog starts the light and the lens: the centre, half the shorter side.
int32_t HalfWidth() { return bench::PhotoSize().Width / 2; }
int32_t HalfHeight() { return bench::PhotoSize().Height / 2; }
int32_t Side() { return std::min(HalfWidth(), HalfHeight()); }

void BM_userfilter_blur(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { ApplyUserFilter(b, TIEArea{}, {1, 1, 1, 1, 1, 1, 1, 1, 1}, 9); });
}
void BM_userfilter_emboss(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { ApplyUserFilter(b, TIEArea{}, {-1, 0, 1, -1, 1, 1, -1, 0, 1}, 1); });
}
void BM_bumpmap(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { ApplyBumpMap(b, TIEArea{}, HalfWidth(), HalfHeight(), Side(), Side(), kWhite, 0); });
}
void BM_lens(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { ApplyLens(b, HalfWidth(), HalfHeight(), Side(), Side(), 1.7); });
}
void BM_wave_plain(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { ApplyWave(b, 10, 10, 0, false); });
}
void BM_wave_reflective(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { ApplyWave(b, 10, 10, 0, true); });
}
void BM_morph_max_k1(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { ApplyMorph(b, TIEArea{}, 0, 1); });
}
void BM_morph_max_k5(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { ApplyMorph(b, TIEArea{}, 0, 5); });
}
void BM_morph_open_k3(benchmark::State& s) {
  InPlace(s, [](TIEWorkingBitmap& b) { ApplyMorph(b, TIEArea{}, 2, 3); });
}
void BM_fft_forward(benchmark::State& s) {
  for (auto _ : s) {
    TIEFtImage ft;
    if (!ft.BuildFT(Photo(), false)) return s.SkipWithError("plane refused");
    benchmark::DoNotOptimize(&ft);
  }
}
void BM_fft_inverse(benchmark::State& s) {
  TIEFtImage ft;
  if (!ft.BuildFT(Photo(), false)) return s.SkipWithError("plane refused");
  for (auto _ : s) {
    TIEWorkingBitmap back;
    ft.GetInverseImage(back);
    benchmark::DoNotOptimize(back.Bits());
  }
}

#define EFFECT_CASE(name) \
  BENCHMARK(name)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
EFFECT_CASE(BM_userfilter_blur)
EFFECT_CASE(BM_userfilter_emboss)
EFFECT_CASE(BM_bumpmap)
EFFECT_CASE(BM_lens)
EFFECT_CASE(BM_wave_plain)
EFFECT_CASE(BM_wave_reflective)
EFFECT_CASE(BM_morph_max_k1)
EFFECT_CASE(BM_morph_max_k5)
EFFECT_CASE(BM_morph_open_k3)
EFFECT_CASE(BM_fft_forward)
EFFECT_CASE(BM_fft_inverse)

}  // namespace

// The peers script reads Google Benchmark's own JSON output.
int main(int argc, char** argv) {
  bench::TakeSizeFlag(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Photo();  // made before the first case is timed
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
