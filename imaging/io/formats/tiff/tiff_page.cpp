// The layout of a TIFF page and the parameters it reports.
#include "imaging/io/formats/tiff/tiff_page.h"

#include <algorithm>

#include "imaging/core/engine_settings.h"
#include "imaging/core/math.h"

namespace quillet {

namespace {

enum TTag : uint16_t {
  ttImageWidth = 256,
  ttImageLength = 257,
  ttBitsPerSample = 258,
  ttCompression = 259,
  ttPhotometric = 262,
  ttFillOrder = 266,
  ttDocumentName = 269,
  ttImageDescription = 270,
  ttStripOffsets = 273,
  ttOrientation = 274,
  ttSamplesPerPixel = 277,
  ttRowsPerStrip = 278,
  ttStripByteCounts = 279,
  ttXResolution = 282,
  ttYResolution = 283,
  ttPlanar = 284,
  ttPageName = 285,
  ttXPosition = 286,
  ttYPosition = 287,
  ttT4Options = 292,
  ttResolutionUnit = 296,
  ttPageNumber = 297,
  ttSoftware = 305,
  ttPredictor = 317,
  ttColorMap = 320,
  ttTileWidth = 322,
  ttTileLength = 323,
  ttTileOffsets = 324,
  ttTileByteCounts = 325,
  ttExtraSamples = 338,
  ttJpegProc = 512,
  ttJpegInterchange = 513,
  ttJpegInterchangeLength = 514,
};

// The EXIF fields held in one value, by tag; tags of the main directory and
// of the EXIF directory alike.
struct TTextField {
  uint16_t Tag;
  std::string TIOParamsVals::*Field;
};
struct TIntField {
  uint16_t Tag;
  int32_t TIOParamsVals::*Field;
};
struct TRealField {
  uint16_t Tag;
  double TIOParamsVals::*Field;
};

using P = TIOParamsVals;
constexpr TTextField kTexts[] = {
    {270, &P::ExifImageDescription},   {271, &P::ExifMake},
    {272, &P::ExifModel},              {305, &P::ExifSoftware},
    {306, &P::ExifDateTime},           {33432, &P::ExifRightsNotice},
    {36864, &P::ExifVersion},          {36867, &P::ExifDateTimeOriginal},
    {36868, &P::ExifDateTimeDigitized}, {37520, &P::ExifSubsecTime},
    {37521, &P::ExifSubsecTimeOriginal}, {37522, &P::ExifSubsecTimeDigitized},
    {40960, &P::ExifFlashPixVersion},  {40964, &P::ExifRelatedSoundFile},
};
constexpr TIntField kInts[] = {
    {274, &P::ExifOrientation},        {296, &P::ExifResolutionUnit},
    {531, &P::ExifYCbCrPositioning},   {34850, &P::ExifExposureProgram},
    {37383, &P::ExifMeteringMode},     {37384, &P::ExifLightSource},
    {37385, &P::ExifFlash},            {40961, &P::ExifColorSpace},
    {40962, &P::ExifPixelXDimension},  {40963, &P::ExifPixelYDimension},
    {41488, &P::ExifFocalPlaneResolutionUnit}, {41495, &P::ExifSensingMethod},
    {41728, &P::ExifFileSource},       {41729, &P::ExifSceneType},
};
constexpr TRealField kReals[] = {
    {282, &P::ExifXResolution},        {283, &P::ExifYResolution},
    {33434, &P::ExifExposureTime},     {33437, &P::ExifFNumber},
    {37122, &P::ExifCompressedBitsPerPixel}, {37377, &P::ExifShutterSpeedValue},
    {37378, &P::ExifApertureValue},    {37379, &P::ExifBrightnessValue},
    {37380, &P::ExifExposureBiasValue}, {37381, &P::ExifMaxApertureValue},
    {37382, &P::ExifSubjectDistance},  {37386, &P::ExifFocalLength},
    {41486, &P::ExifFocalPlaneXResolution}, {41487, &P::ExifFocalPlaneYResolution},
    {41493, &P::ExifExposureIndex},
};

// The directory of the two that holds `tag`: the EXIF one first.
const TTiffDirectory* Holder(const TTiffDirectory& dir, const TTiffDirectory* exif, uint16_t tag) {
  if (exif && exif->Has(tag)) return exif;
  return dir.Has(tag) ? &dir : nullptr;
}

template <size_t N, class T>
void FillArray(std::array<T, N>& values, const std::vector<double>& read) {
  for (size_t i = 0; i < N; ++i) values[i] = i < read.size() ? T(read[i]) : T{};
}

void FillExif(const TTiffDirectory& dir, const TTiffDirectory* exif, TIOParamsVals& p) {
  for (const TTextField& f : kTexts) {
    const TTiffDirectory* d = Holder(dir, exif, f.Tag);
    p.*f.Field = d ? d->Text(f.Tag) : "";
  }
  for (const TIntField& f : kInts) {
    const TTiffDirectory* d = Holder(dir, exif, f.Tag);
    p.*f.Field = d ? int32_t(d->Int(f.Tag, 0)) : 0;
  }
  for (const TRealField& f : kReals) {
    const TTiffDirectory* d = Holder(dir, exif, f.Tag);
    p.*f.Field = d ? d->Rational(f.Tag, 0) : 0;
  }
  const auto reals = [&](uint16_t tag) {
    const TTiffDirectory* d = Holder(dir, exif, tag);
    return d ? d->Rationals(tag) : std::vector<double>{};
  };
  FillArray(p.ExifWhitePointValues, reals(318));
  FillArray(p.ExifPrimaryChromaticitiesValues, reals(319));
  FillArray(p.ExifYCbCrCoefficientsValues, reals(529));
  FillArray(p.ExifReferenceBlackWhiteValues, reals(532));
  const TTiffDirectory* iso = Holder(dir, exif, 34855);
  const std::vector<uint32_t> speeds = iso ? iso->Ints(34855) : std::vector<uint32_t>{};
  for (size_t i = 0; i < 2; ++i) p.ExifISOSpeedRatingsValues[i] = i < speeds.size() ? int32_t(speeds[i]) : 0;
}

// 3 x 2^bits values, reds, then greens, then blues; the high byte of each.
// A missing or short map gives a grey ramp.
std::vector<TBGR> ReadPalette(const TTiffDirectory& dir, int bits) {
  const size_t n = size_t(1) << std::min(bits, 16);
  const std::vector<uint32_t> map = dir.Ints(ttColorMap);
  std::vector<TBGR> palette(n);
  for (size_t i = 0; i < n; ++i) {
    if (map.size() >= 3 * n)
      palette[i] = {uint8_t(map[2 * n + i] >> 8), uint8_t(map[n + i] >> 8), uint8_t(map[i] >> 8)};
    else {
      const uint8_t v = uint8_t(n > 1 ? i * 255 / (n - 1) : 0);
      palette[i] = {v, v, v};
    }
  }
  return palette;
}

TIOTIFFCompression CompressionParam(const TTiffPage& page) {
  switch (page.Compression) {
    case tcModifiedHuffman: return TIOTIFFCompression::CCITT1D;
    case tcGroup3: return page.T4Options & 1 ? TIOTIFFCompression::G3FAX2D : TIOTIFFCompression::G3FAX1D;
    case tcGroup4: return TIOTIFFCompression::G4FAX;
    case tcLzw: return TIOTIFFCompression::LZW;
    case tcOldJpeg: return TIOTIFFCompression::OLDJPEG;
    case tcJpeg: return TIOTIFFCompression::JPEG;
    case tcPackBits: return TIOTIFFCompression::PACKBITS;
    default: return TIOTIFFCompression::UNCOMPRESSED;
  }
}

TIOTIFFPhotometInterpret PhotometricParam(uint32_t photometric) {
  if (photometric == tpCIELab) return TIOTIFFPhotometInterpret::CIELAB;
  return photometric <= 6 ? TIOTIFFPhotometInterpret(photometric) : TIOTIFFPhotometInterpret::RGB;
}

int32_t Dpi(double resolution, double factor, int32_t screen) {
  const int64_t dpi = Trunc(resolution * factor);
  return dpi > 0 && dpi <= INT32_MAX ? int32_t(dpi) : screen;
}

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

void ReadPage(const TTiffDirectory& dir, TTiffPage& page) {
  page.Width = dir.Int(ttImageWidth, 0);
  page.Height = dir.Int(ttImageLength, 0);
  const std::vector<uint32_t> bits = dir.Ints(ttBitsPerSample);
  page.Bits = bits.empty() ? 1 : int(std::min<uint32_t>(bits[0], 64));
  page.UnequalBits = std::any_of(bits.begin(), bits.end(), [&](uint32_t b) { return b != bits[0]; });
  page.Samples = int(std::min<uint32_t>(dir.Int(ttSamplesPerPixel, 1), 64));
  page.Compression = dir.Int(ttCompression, tcNone);
  page.Photometric = dir.Int(ttPhotometric, tpRGB);
  page.FillOrder = dir.Int(ttFillOrder, 1);
  page.Orientation = dir.Int(ttOrientation, 1);
  const uint32_t rows = dir.Int(ttRowsPerStrip, 0);
  page.RowsPerStrip = rows == 0 || rows == UINT32_MAX ? page.Height : rows;
  page.Planar = dir.Int(ttPlanar, 1);
  page.T4Options = dir.Int(ttT4Options, 0);
  page.Predictor = dir.Int(ttPredictor, 1);
  page.ExtraSamples = dir.Int(ttExtraSamples, 0);
  page.TileWidth = dir.Int(ttTileWidth, 0);
  page.TileLength = dir.Int(ttTileLength, 0);
  page.Tiled = page.TileWidth > 0 || page.TileLength > 0;
  const bool tileData = dir.Has(ttTileOffsets);
  page.Offsets = dir.Ints(tileData ? ttTileOffsets : ttStripOffsets);
  page.Counts = dir.Ints(tileData ? ttTileByteCounts : ttStripByteCounts);
  page.JpegProc = dir.Int(ttJpegProc, 0);
  if (dir.Has(ttJpegInterchange)) {
    page.JpegOffset = dir.Int(ttJpegInterchange, 0);
    page.JpegLength = dir.Int(ttJpegInterchangeLength, 0);
  }
  page.Software = dir.Text(ttSoftware);
  page.HasColorMap = dir.Has(ttColorMap);
  if (page.Photometric == tpPalette && page.Bits <= 8) page.Palette = ReadPalette(dir, page.Bits);
  const bool bilevel = page.Samples == 1 && page.Bits == 1;
  if (bilevel && page.Compression >= tcNone && page.Compression <= tcGroup4 && page.Photometric == tpRGB)
    page.Photometric = tpWhiteIsZero;
}

void FillParams(const TTiffDirectory& dir, const TTiffDirectory* exif, const TTiffPage& page, TIOParamsVals& p) {
  p.BitsPerSample = page.Bits;
  p.SamplesPerPixel = page.Samples;
  p.Width = Clamp32(page.Width);
  p.Height = Clamp32(page.Height);
  p.TiffCompression = CompressionParam(page);
  p.TiffPhotometric = PhotometricParam(page.Photometric);
  p.TiffPlanarConfig = int32_t(page.Planar);
  p.TiffDocumentName = dir.Text(ttDocumentName);
  p.TiffImageDescription = dir.Text(ttImageDescription);
  p.TiffPageName = dir.Text(ttPageName);
  const std::vector<uint32_t> pages = dir.Ints(ttPageNumber);
  p.TiffPageNumber = pages.size() > 0 ? int32_t(pages[0]) : 0;
  p.TiffPageCount = pages.size() > 1 ? int32_t(pages[1]) : 0;
  const double factor = dir.Int(ttResolutionUnit, 2) == 3 ? 2.54 : 1.0;
  p.DpiX = Dpi(dir.Rational(ttXResolution, 0), factor, StartupMetrics().DpiX);
  p.DpiY = Dpi(dir.Rational(ttYResolution, 0), factor, StartupMetrics().DpiY);
  p.TiffXPos = Clamp32(Trunc(dir.Rational(ttXPosition, 0) / factor));
  p.TiffYPos = Clamp32(Trunc(dir.Rational(ttYPosition, 0) / factor));
  if (page.HasColorMap && page.Bits <= 8) p.SetColorMap(ReadPalette(dir, page.Bits));
  FillExif(dir, exif, p);
}

void CopyExifFields(const TIOParamsVals& from, TIOParamsVals& to) {
  for (const TTextField& f : kTexts) to.*f.Field = from.*f.Field;
  for (const TIntField& f : kInts) to.*f.Field = from.*f.Field;
  for (const TRealField& f : kReals) to.*f.Field = from.*f.Field;
  to.ExifWhitePointValues = from.ExifWhitePointValues;
  to.ExifPrimaryChromaticitiesValues = from.ExifPrimaryChromaticitiesValues;
  to.ExifYCbCrCoefficientsValues = from.ExifYCbCrCoefficientsValues;
  to.ExifReferenceBlackWhiteValues = from.ExifReferenceBlackWhiteValues;
  to.ExifISOSpeedRatingsValues = from.ExifISOSpeedRatingsValues;
}

}  // namespace quillet
