// TIEFtImage, the frequency-domain image: the 2-D Fourier transform of a
// 24-bit image (of its grey levels or of each channel) over a plane padded
// with zeros to powers of two, its spectrum drawn as an image, rectangles of
// the spectrum cleared, and the transform back into an image.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/core/working_bitmap.h"
#include "imaging/proc/effect_fft.h"
#include "imaging/proc/proc_rows.h"

namespace quillet {

class TIEFtImage {
 public:
  // The largest padded side; larger planes are refused.
  static constexpr int64_t kMaxSide = 4096;
  // Whether an image of this size pads to a plane of at most kMaxSide a side.
  static bool Fits(int64_t width, int64_t height);

  // Forward transform, unnormalised, of `image` (24-bit, not empty, fitting),
  // replacing what was held. False, holding nothing, when the image does not
  // qualify or the run was cancelled.
  bool BuildFT(const TIEWorkingBitmap& image, bool gray, const TIEProcWatch& control = {});

  bool Empty() const { return planes_.empty(); }
  bool Gray() const { return gray_; }
  // The padded plane: the spectrum image's size.
  int64_t Width() const { return width_; }
  int64_t Height() const { return height_; }

  // The spectrum, Width x Height: zero frequency at (Width / 2, Height / 2);
  // each channel round(255 (ln(1 + |F|) - min) / (max - min)) over its own
  // minimum and maximum, 0 when they are equal. Grey in all three channels
  // for a grey transform. Nothing when empty.
  void GetFFTImage(TIEWorkingBitmap& spectrum) const;
  // Every channel set to zero over the inclusive rectangle (x1, y1)-(x2, y2)
  // of the spectrum image (corners in any order, clipped to it).
  void ClearZone(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
  // The inverse transform divided by the sample count: its real part,
  // rounded, limited to 0..255 and cropped to the image's size. False, with
  // `image` untouched, when empty or cancelled.
  bool GetInverseImage(TIEWorkingBitmap& image, const TIEProcWatch& control = {}) const;

 private:
  // Frequency index of spectrum pixel (u, v).
  size_t FrequencyOf(int64_t u, int64_t v) const;
  // The frequency index of -k.
  size_t Mirror(size_t k) const;
  // ln(1 + |F|) of each sample of channel `channel`, in spectrum pixel order.
  std::vector<float> LogMagnitudes(int channel) const;

  // Two real channels a plane, the first as the real part and the second as
  // the imaginary part: red + i green and blue + i 0, or grey + i 0.
  std::vector<TIEComplexPlane> planes_;
  // 0 where the spectrum was cleared, by frequency index.
  std::vector<uint8_t> kept_;
  bool cleared_ = false;
  int64_t width_ = 0, height_ = 0, imageWidth_ = 0, imageHeight_ = 0;
  bool gray_ = false;
};

// `image` through the transform with the inclusive rectangles of its
// spectrum image cleared, and back. False, with the image as it was, when it
// does not qualify for the transform or the run was cancelled.
bool ClearFrequencies(TIEWorkingBitmap& image, const std::vector<std::array<int64_t, 4>>& zones, bool gray,
                      const TIEProcWatch& control = {});

}  // namespace quillet
