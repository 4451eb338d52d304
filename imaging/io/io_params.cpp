// Construction, reset and copying of the parameter record, its palette and
// EXIF array accessors, and the replaceable clock behind TgaDate.
#include "imaging/io/io_params.h"

#include <chrono>
#include <ctime>

#include "imaging/core/engine_settings.h"
#include "imaging/io/ziridev_io.h"

namespace quillet {

namespace {

TIEClock& ClockSlot() {
  static TIEClock clock;
  return clock;
}

// Local calendar date as days since 1899-12-30.
double SystemToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  using namespace std::chrono;
  const sys_days day = year{local.tm_year + 1900} / month{unsigned(local.tm_mon + 1)} / unsigned(local.tm_mday);
  const sys_days epoch = year{1899} / December / 30;
  return double((day - epoch).count());
}

template <size_t N, class T>
T At(const std::array<T, N>& a, int i) {
  return i >= 0 && size_t(i) < N ? a[size_t(i)] : T{};
}

template <size_t N, class T>
void Put(std::array<T, N>& a, int i, T v) {
  if (i >= 0 && size_t(i) < N) a[size_t(i)] = v;
}

}  // namespace

void SetParamsClock(TIEClock clock) { ClockSlot() = std::move(clock); }

double ParamsToday() { return ClockSlot() ? ClockSlot()() : SystemToday(); }

// The owner may still be under construction here, so it is not consulted;
// Reset is where the owner's image size comes in.
TIOParamsVals::TIOParamsVals(TZiridEvIO* owner) : owner_(owner) {
  const TIEStartupMetrics metrics = StartupMetrics();
  DpiX = metrics.DpiX;
  DpiY = metrics.DpiY;
  TgaDate = ParamsToday();
  const TIELzwSlots slots = LzwSlots();
  GifLzwDecoder = slots.GifDecoder;
  GifLzwEncoder = slots.GifEncoder;
  TiffLzwDecoder = slots.TiffDecoder;
  TiffLzwEncoder = slots.TiffEncoder;
}

// A fresh default record, keeping only the size the image had when there
// is no owner image to take it from.
void TIOParamsVals::Reset() {
  const int32_t width = Width, height = Height;
  *this = TIOParamsVals(owner_.io);
  const TIEWorkingBitmap* bitmap = owner_.io ? owner_.io->AttachedBitmap() : nullptr;
  Width = bitmap ? int32_t(bitmap->Width()) : width;
  Height = bitmap ? int32_t(bitmap->Height()) : height;
}

void TIOParamsVals::SetColorMap(const std::vector<TBGR>& colors) {
  ColorMap = colors;
  ColorMapCount = int32_t(colors.size());
}

void TIOParamsVals::FreeColorMap() {
  ColorMap.clear();
  ColorMap.shrink_to_fit();
  ColorMapCount = 0;
}

int32_t TIOParamsVals::ExifISOSpeedRatings(int i) const { return At(ExifISOSpeedRatingsValues, i); }
void TIOParamsVals::SetExifISOSpeedRatings(int i, int32_t v) { Put(ExifISOSpeedRatingsValues, i, v); }
double TIOParamsVals::ExifWhitePoint(int i) const { return At(ExifWhitePointValues, i); }
void TIOParamsVals::SetExifWhitePoint(int i, double v) { Put(ExifWhitePointValues, i, v); }
double TIOParamsVals::ExifPrimaryChromaticities(int i) const { return At(ExifPrimaryChromaticitiesValues, i); }
void TIOParamsVals::SetExifPrimaryChromaticities(int i, double v) { Put(ExifPrimaryChromaticitiesValues, i, v); }
double TIOParamsVals::ExifYCbCrCoefficients(int i) const { return At(ExifYCbCrCoefficientsValues, i); }
void TIOParamsVals::SetExifYCbCrCoefficients(int i, double v) { Put(ExifYCbCrCoefficientsValues, i, v); }
double TIOParamsVals::ExifReferenceBlackWhite(int i) const { return At(ExifReferenceBlackWhiteValues, i); }
void TIOParamsVals::SetExifReferenceBlackWhite(int i, double v) { Put(ExifReferenceBlackWhiteValues, i, v); }

}  // namespace quillet
