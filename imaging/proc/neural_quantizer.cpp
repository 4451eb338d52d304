// The neural engine: initial grey ramp, learning with decaying alpha and
// radius over prime-stepped samples, the biased contest, and the palette.
#include "imaging/proc/neural_quantizer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "imaging/core/math.h"
#include "imaging/core/vector_clones.h"

namespace quillet {

namespace {

constexpr int kColorShift = 4;           // neuron colours in 1/16 of a level
constexpr int kCycles = 100;             // alpha and radius decay this often
constexpr int kInitAlpha = 1 << 10;
constexpr int kRadiusShift = 6;          // radius in 1/64 units
constexpr int kRadiusDecrease = 30;
constexpr int kFreqScale = 1 << 16;
constexpr int kBetaShift = 10;           // beta = 1/1024
constexpr int kBetaGamma = 1 << 16;
constexpr int kGammaShift = 10;
constexpr int kBiasToDistShift = 12;     // frequency scale over colour scale
constexpr int kRadPowerScale = 256;
constexpr int kNeighbourDivisor = 1 << 18;
constexpr int kKeyScale = TIENeuralQuantizer::kMaxNeurons;  // minimum keys: value * scale + position

// A prime step in pixels that does not divide the image's byte count, so the
// samples cover the image evenly.
int64_t SampleStep(int64_t pixels) {
  const int64_t bytes = pixels * 3;
  for (int64_t prime : {499, 491, 487})
    if (bytes % prime != 0) return prime;
  return 503;
}

// x moves toward target by a / divisor of the way, truncating toward zero.
// Colours stay within 0..4095 and a <= divisor <= 2^18, so the product fits.
inline void MoveToward(int32_t& x, int target, int a, int divisor) { x -= a * (x - target) / divisor; }

// Pixel positions 0, step, 2 * step, ... modulo the pixel count, kept as row
// and column so that each step costs no division.
class TSampleWalk {
 public:
  explicit TSampleWalk(const TIEQuantizerSource& source)
      : source_(source), width_(source.Width()), pixels_(source.PixelCount()), step_(SampleStep(pixels_)),
        stepRows_(step_ / width_), stepColumns_(step_ % width_) {}

  const uint8_t* Pixel() const { return source_.Row(row_) + 3 * column_; }

  void Next() {
    p_ += step_;
    if (p_ >= pixels_) {  // the step may exceed a small image
      p_ %= pixels_;
      row_ = p_ / width_, column_ = p_ % width_;
      return;
    }
    row_ += stepRows_, column_ += stepColumns_;
    if (column_ >= width_) column_ -= width_, ++row_;
  }

 private:
  const TIEQuantizerSource& source_;
  const int64_t width_, pixels_, step_, stepRows_, stepColumns_;
  int64_t p_ = 0, row_ = 0, column_ = 0;
};

// The closest neuron by L1 distance wins frequency and loses bias; the
// returned one is the closest after subtracting each neuron's bias, which
// pulls rarely winning neurons in. The bias shift is arithmetic: a neuron
// that wins often has a negative bias and is penalised.
// One pass without branches that the compiler vectorises: each minimum is
// taken over distance * 256 + position, so the first smallest wins (biased
// distances stay within +-2^20, so the keys fit 32 bits). Compiled also for
// wider vectors, chosen at run time.
QUILLET_VECTOR_CLONES int Contest(TIENeuralQuantizer::TNetwork& net, int n, int b, int g, int r) {
  int bestKey = INT_MAX, bestBiasKey = INT_MAX;
  for (int i = 0; i < n; ++i) {
    const size_t k = size_t(i);
    const int d = std::abs(net.blue[k] - b) + std::abs(net.green[k] - g) + std::abs(net.red[k] - r);
    bestKey = std::min(bestKey, d * kKeyScale + i);
    bestBiasKey = std::min(bestBiasKey, (d - (net.bias[k] >> kBiasToDistShift)) * kKeyScale + i);
    const int betaFreq = net.freq[k] >> kBetaShift;
    net.freq[k] -= betaFreq;
    net.bias[k] += betaFreq << kGammaShift;
  }
  const size_t bestPos = size_t(bestKey & (kKeyScale - 1));
  net.freq[bestPos] += kFreqScale >> kBetaShift;
  net.bias[bestPos] -= kBetaGamma;
  return bestBiasKey & (kKeyScale - 1);
}

// Neighbours j +- k for 0 < k < rad move by radPower[k]; each moves once, so
// the two sides go in any order. Compiled also for wider vectors.
QUILLET_VECTOR_CLONES void MoveNeighbours(TIENeuralQuantizer::TNetwork& net, int n, int j, int rad, int b, int g,
                                          int r) {
  const auto move = [&](int q, int k) {
    const int a = net.radPower[size_t(k)];
    MoveToward(net.blue[size_t(q)], b, a, kNeighbourDivisor);
    MoveToward(net.green[size_t(q)], g, a, kNeighbourDivisor);
    MoveToward(net.red[size_t(q)], r, a, kNeighbourDivisor);
  };
  const int hi = std::min(j + rad, n), lo = std::max(j - rad, -1);
  for (int q = j + 1; q < hi; ++q) move(q, q - j);
  for (int q = j - 1; q > lo; --q) move(q, j - q);
}

}  // namespace

int TIENeuralQuantizer::SampleFactor(int64_t pixels, int quality) {
  if (quality < 0) {
    if (pixels < 2000) return 1;
    return int(std::clamp<int64_t>(Round((13.0 * double(pixels) - 26000.0) / 148000.0 + 2), 1, 30));
  }
  const int q = std::min(quality, 100);
  return int(Trunc((100 - q) / 100.0 * 29)) + 1;
}

TIENeuralQuantizer::TIENeuralQuantizer(const TIEQuantizerSource& source, int colors, int quality)
    : n_(std::clamp(colors, 1, kMaxNeurons)), cache_(TIEColorIndexCache::BitsFor(source.PixelCount())) {
  for (int i = 0; i < n_; ++i) {
    net_.blue[size_t(i)] = net_.green[size_t(i)] = net_.red[size_t(i)] = (i << (kColorShift + 8)) / n_;
    net_.freq[size_t(i)] = kFreqScale / n_;
  }
  if (!source.Empty()) Learn(source, SampleFactor(source.PixelCount(), quality));
  // Neurons stay between their start and their targets, so never negative.
  palette_.resize(size_t(n_));
  for (size_t i = 0; i < size_t(n_); ++i)
    palette_[i] = TBGR{uint8_t(net_.blue[i] >> kColorShift), uint8_t(net_.green[i] >> kColorShift),
                       uint8_t(net_.red[i] >> kColorShift)};
  lookup_ = std::make_unique<TIENeuralLookup>(palette_);
}

void TIENeuralQuantizer::SetRadPower(int rad, int alpha) {
  const int64_t rad2 = int64_t(rad) * rad;
  for (int i = 0; i < rad; ++i) net_.radPower[size_t(i)] = int32_t(alpha * (((rad2 - int64_t(i) * i) * kRadPowerScale) / rad2));
}

void TIENeuralQuantizer::Learn(const TIEQuantizerSource& source, int factor) {
  const int alphaDec = 30 + (factor - 1) / 3;
  const int64_t samples = source.PixelCount() * 3 / (3 * int64_t(factor));
  const int64_t delta = std::max<int64_t>(samples / kCycles, 1);
  int alpha = kInitAlpha;
  int radius = (n_ / 8) << kRadiusShift;
  const auto radOf = [](int radius) { return radius > 127 ? radius >> kRadiusShift : 0; };
  int rad = radOf(radius);
  SetRadPower(rad, alpha);
  TSampleWalk walk(source);
  for (int64_t i = 1, untilDecay = delta; i <= samples; ++i) {
    const uint8_t* px = walk.Pixel();
    walk.Next();
    __builtin_prefetch(walk.Pixel());  // far away in a large image
    const int b = px[0] << kColorShift, g = px[1] << kColorShift, r = px[2] << kColorShift;
    const int j = Contest(net_, n_, b, g, r);
    MoveToward(net_.blue[size_t(j)], b, alpha, kInitAlpha);
    MoveToward(net_.green[size_t(j)], g, alpha, kInitAlpha);
    MoveToward(net_.red[size_t(j)], r, alpha, kInitAlpha);
    if (rad > 0) MoveNeighbours(net_, n_, j, rad, b, g, r);
    if (--untilDecay == 0) {
      untilDecay = delta;
      alpha -= alpha / alphaDec;
      radius -= radius / kRadiusDecrease;
      rad = radOf(radius);
      SetRadPower(rad, alpha);
    }
  }
}


void TIENeuralQuantizer::WritePalette(std::span<TBGR> palette) const {
  std::copy_n(palette_.begin(), std::min(palette.size(), palette_.size()), palette.begin());
}

}  // namespace quillet
