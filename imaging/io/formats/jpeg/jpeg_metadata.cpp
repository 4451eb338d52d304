// IPTC, EXIF and resolution glue of the JPEG codec.
#include "imaging/io/formats/jpeg/jpeg_metadata.h"

#include <cstdint>
#include <cstring>

#include "imaging/core/math.h"
#include "imaging/core/engine_settings.h"

namespace quillet {

namespace {

constexpr uint8_t kApp1 = 0xE1, kApp13 = 0xED;
constexpr uint8_t kExifTag[6] = {'E', 'x', 'i', 'f', 0, 0};

bool DecodeExif(TIOParamsVals& params) {
  const TIEMarkerList& markers = params.JpegMarkers;
  for (int64_t i = 0; i < markers.Count(); ++i) {
    const int64_t length = markers.MarkerLength(i);
    if (markers.MarkerType(i) != kApp1 || length < 6 || std::memcmp(markers.MarkerBytes(i), kExifTag, 5) != 0)
      continue;
    const TExifDecoder decoder = ExifDecoder();
    return decoder && decoder(markers.MarkerBytes(i) + 6, size_t(length - 6), params);
  }
  return false;
}

int32_t ExifDpi(double resolution, double factor) {
  const int64_t dpi = Trunc(resolution * factor);
  return dpi >= 1 && dpi <= INT32_MAX ? int32_t(dpi) : 0;
}

}  // namespace

bool ReadJpegMetadata(TIOParamsVals& params) {
  const int64_t app13 = params.JpegMarkers.IndexOf(kApp13);
  if (app13 >= 0)
    params.IptcInfo.LoadFromBlock(params.JpegMarkers.MarkerBytes(app13), size_t(params.JpegMarkers.MarkerLength(app13)));
  params.IptcInfo.SetChanged(false);
  return DecodeExif(params);
}

void SetJpegResolution(TIOParamsVals& params, int unit, int xDensity, int yDensity, bool exifDecoded) {
  const double factor = unit == 2 ? 2.54 : 1.0;
  params.DpiX = int32_t(Trunc(xDensity * factor));
  params.DpiY = int32_t(Trunc(yDensity * factor));
  if (params.DpiX == 1 && params.DpiY == 1 && exifDecoded) {
    const double f = params.ExifResolutionUnit == 3 ? 2.54 : 1.0;
    const int32_t x = ExifDpi(params.ExifXResolution, f), y = ExifDpi(params.ExifYResolution, f);
    if (x > 0 && y > 0) {
      params.DpiX = x, params.DpiY = y;
      return;
    }
  }
  if (unit == 0 || params.DpiX <= 0 || params.DpiY <= 0) {
    params.DpiX = StartupMetrics().DpiX;
    params.DpiY = StartupMetrics().DpiY;
  }
}

void StoreIptcMarker(TIOParamsVals& params) {
  TIEIPTCInfoList& iptc = params.IptcInfo;
  TIEMarkerList& markers = params.JpegMarkers;
  if (!iptc.Changed()) return;
  const int64_t at = markers.IndexOf(kApp13);
  if (iptc.Count() == 0) {
    if (at < 0) return;
    TIEIPTCInfoList old;
    old.LoadFromBlock(markers.MarkerBytes(at), size_t(markers.MarkerLength(at)));
    if (old.Count() > 0) markers.Delete(at);
    return;
  }
  const std::vector<uint8_t> block = iptc.SaveToBlock();
  if (at >= 0)
    markers.Put(at, kApp13, block.data(), int64_t(block.size()));
  else
    markers.Add(kApp13, block.data(), int64_t(block.size()));
}

}  // namespace quillet
