#include "imaging/proc/effect_fourier.h"

#include <algorithm>
#include <cmath>

#include "imaging/core/math.h"

namespace quillet {

namespace {

// The plane and part (0 real, 1 imaginary) holding channel c: red, green,
// blue in that order, or grey alone.
int PlaneOf(int channel) { return channel / 2; }
int PartOf(int channel) { return channel % 2; }

uint8_t Byte(double v) { return uint8_t(std::clamp<int64_t>(Round(v), 0, 255)); }

}  // namespace

bool TIEFtImage::Fits(int64_t width, int64_t height) {
  return width > 0 && height > 0 && FftSize(width) <= kMaxSide && FftSize(height) <= kMaxSide;
}

bool TIEFtImage::BuildFT(const TIEWorkingBitmap& image, bool gray, const TIEProcWatch& control) {
  planes_.clear();
  kept_.clear();
  if (image.PixelFormat() != TIEPixelFormat::pf24bit || !Fits(image.Width(), image.Height())) return false;
  gray_ = gray;
  imageWidth_ = image.Width(), imageHeight_ = image.Height();
  width_ = FftSize(imageWidth_), height_ = FftSize(imageHeight_);
  std::vector<TIEComplexPlane> planes(gray ? 1 : 2);
  for (TIEComplexPlane& p : planes) p.Allocate(width_, height_);
  for (int64_t y = 0; y < imageHeight_; ++y) {
    const uint8_t* px = image.ScanLine(y);
    for (int64_t x = 0; x < imageWidth_; ++x, px += 3) {
      const size_t i = planes[0].Index(x, y);
      if (gray) {
        planes[0].Re[i] = float(GreyLevel({px[0], px[1], px[2]}));
        continue;
      }
      planes[0].Re[i] = px[2], planes[0].Im[i] = px[1], planes[1].Re[i] = px[0];
    }
  }
  TIEProcRows rows(control, double(int64_t(planes.size()) * FftSteps(width_, height_)) + 0.5);
  for (TIEComplexPlane& p : planes)
    if (!Fft2D(p, false, rows)) return false;
  planes_ = std::move(planes);
  kept_.assign(size_t(width_ * height_), 1);
  cleared_ = false;
  return true;
}

size_t TIEFtImage::FrequencyOf(int64_t u, int64_t v) const {
  return size_t(((v + height_ / 2) % height_) * width_ + (u + width_ / 2) % width_);
}

size_t TIEFtImage::Mirror(size_t k) const {
  const int64_t x = int64_t(k) % width_, y = int64_t(k) / width_;
  return size_t(((height_ - y) % height_) * width_ + (width_ - x) % width_);
}

// A plane holds Z = A + iB for the transforms A and B of two real channels,
// so A(k) = (Z(k) + conj Z(-k)) / 2 and B(k) = (Z(k) - conj Z(-k)) / 2i.
std::vector<float> TIEFtImage::LogMagnitudes(int channel) const {
  const TIEComplexPlane& z = planes_[size_t(PlaneOf(channel))];
  const bool second = PartOf(channel) == 1;
  std::vector<float> out(size_t(width_ * height_));
  for (int64_t v = 0; v < height_; ++v)
    for (int64_t u = 0; u < width_; ++u) {
      const size_t k = FrequencyOf(u, v), m = Mirror(k);
      const double re = second ? double(z.Im[k]) + z.Im[m] : double(z.Re[k]) + z.Re[m];
      const double im = second ? double(z.Re[m]) - z.Re[k] : double(z.Im[k]) - z.Im[m];
      out[size_t(v * width_ + u)] = kept_[k] ? float(std::log1p(std::sqrt(re * re + im * im) / 2)) : 0.0f;
    }
  return out;
}

void TIEFtImage::GetFFTImage(TIEWorkingBitmap& spectrum) const {
  if (Empty()) return;
  spectrum.AllocateUninitialised(width_, height_, TIEPixelFormat::pf24bit);
  const int channels = gray_ ? 1 : 3;
  for (int c = 0; c < channels; ++c) {
    const std::vector<float> logs = LogMagnitudes(c);
    const auto [lo, hi] = std::minmax_element(logs.begin(), logs.end());
    const double min = *lo, range = double(*hi) - *lo;
    for (int64_t v = 0; v < height_; ++v) {
      uint8_t* px = spectrum.ScanLine(v);
      for (int64_t u = 0; u < width_; ++u, px += 3) {
        const uint8_t value = range > 0 ? Byte(255 * (logs[size_t(v * width_ + u)] - min) / range) : 0;
        if (gray_) px[0] = px[1] = px[2] = value;
        else px[2 - c] = value;
      }
    }
  }
}

void TIEFtImage::ClearZone(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  if (Empty()) return;
  const int64_t left = std::max<int64_t>(std::min(x1, x2), 0), right = std::min(std::max(x1, x2), width_ - 1);
  const int64_t top = std::max<int64_t>(std::min(y1, y2), 0), bottom = std::min(std::max(y1, y2), height_ - 1);
  for (int64_t v = top; v <= bottom; ++v)
    for (int64_t u = left; u <= right; ++u) kept_[FrequencyOf(u, v)] = 0, cleared_ = true;
}

// The real parts of the channels' inverse transforms come out of one
// inverse transform per plane when each channel's cleared spectrum is first
// made Hermitian: for a plane that is Z (m(k) + m(-k)) / 2, m being 1 where
// the spectrum is kept and 0 where it was cleared.
bool TIEFtImage::GetInverseImage(TIEWorkingBitmap& image, const TIEProcWatch& control) const {
  if (Empty()) return false;
  TIEProcRows rows(control, double(int64_t(planes_.size()) * FftSteps(width_, height_)) + 0.5);
  TIEWorkingBitmap out;
  out.AllocateUninitialised(imageWidth_, imageHeight_, TIEPixelFormat::pf24bit);
  const double samples = double(width_ * height_);
  for (size_t p = 0; p < planes_.size(); ++p) {
    TIEComplexPlane work = planes_[p];
    if (cleared_)
      for (int64_t y = 0; y < height_; ++y)
        for (int64_t x = 0; x < width_; ++x) {
          const size_t k = work.Index(x, y), m = work.Index((width_ - x) % width_, (height_ - y) % height_);
          const float weight = float(kept_[k] + kept_[m]) / 2;
          work.Re[k] *= weight, work.Im[k] *= weight;
        }
    if (!Fft2D(work, true, rows)) return false;
    for (int64_t y = 0; y < imageHeight_; ++y) {
      uint8_t* px = out.ScanLine(y);
      for (int64_t x = 0; x < imageWidth_; ++x, px += 3) {
        const size_t i = work.Index(x, y);
        const uint8_t first = Byte(work.Re[i] / samples), second = Byte(work.Im[i] / samples);
        if (gray_) px[0] = px[1] = px[2] = first;
        else if (p == 0) px[2] = first, px[1] = second;
        else px[0] = first;
      }
    }
  }
  image.Replace(std::move(out));
  return true;
}

bool ClearFrequencies(TIEWorkingBitmap& image, const std::vector<std::array<int64_t, 4>>& zones, bool gray,
                      const TIEProcWatch& control) {
  TIEFtImage ft;
  if (!ft.BuildFT(image, gray, control)) return false;
  for (const auto& [x1, y1, x2, y2] : zones) ft.ClearZone(x1, y1, x2, y2);
  return ft.GetInverseImage(image, control);
}

}  // namespace quillet
