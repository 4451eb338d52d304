// The field table of the parameter record and its text conversions.
#include "imaging/io/params_fields.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <type_traits>
#include <variant>

namespace quillet {

namespace {

using P = TIOParamsVals;

using TMember =
    std::variant<int32_t P::*, uint8_t P::*, bool P::*, double P::*, std::string P::*, TBGR P::*,
                 TIOTIFFCompression P::*, TIOTIFFPhotometInterpret P::*, TIOJPEGColorspace P::*,
                 TIOJPEGDctMethod P::*, TIOPNGFilter P::*, std::array<int32_t, 2> P::*,
                 std::array<double, 2> P::*, std::array<double, 3> P::*, std::array<double, 6> P::*>;

// An integer range; the default (empty) one means the type's own range.
struct TRange {
  int64_t min = 1, max = 0;
  bool Set() const { return min <= max; }
};

struct TField {
  const char* name;
  TMember member;
  TRange range = {};
  std::vector<std::string> names = {};  // enum value names, by number
};

#define Q_FIELD(field, ...) \
  TField { #field, &P::field, __VA_ARGS__ }
// The EXIF arrays are named as their indexed accessors are.
#define Q_ARRAY(name) \
  TField { #name, &P::name##Values }

const std::vector<TField>& Fields() {
  static const std::vector<TField> fields = {
      Q_FIELD(BitsPerSample),
      Q_FIELD(SamplesPerPixel),
      Q_FIELD(Width),
      Q_FIELD(Height),
      Q_FIELD(DpiX),
      Q_FIELD(DpiY),
      Q_FIELD(FileType),
      Q_FIELD(TiffCompression, {},
              {"UNCOMPRESSED", "CCITT1D", "G3FAX1D", "G3FAX2D", "G4FAX", "LZW", "OLDJPEG", "JPEG", "PACKBITS"}),
      Q_FIELD(TiffImageIndex),
      Q_FIELD(TiffPhotometric, {},
              {"WHITEISZERO", "BLACKISZERO", "RGB", "RGBPALETTE", "TRANSPMASK", "CMYK", "YCBCR", "CIELAB"}),
      Q_FIELD(TiffPlanarConfig),
      Q_FIELD(TiffXPos),
      Q_FIELD(TiffYPos),
      Q_FIELD(TiffDocumentName),
      Q_FIELD(TiffImageDescription),
      Q_FIELD(TiffPageName),
      Q_FIELD(TiffPageNumber),
      Q_FIELD(TiffPageCount),
      Q_FIELD(AutoOrient),
      Q_FIELD(GifVersion),
      Q_FIELD(GifImageIndex),
      Q_FIELD(GifXPos),
      Q_FIELD(GifYPos),
      Q_FIELD(GifDelayTime),
      Q_FIELD(GifTransparent),
      Q_FIELD(GifTransparentColor),
      Q_FIELD(GifInterlaced),
      Q_FIELD(GifScreenWidth),
      Q_FIELD(GifScreenHeight),
      Q_FIELD(GifBackground),
      Q_FIELD(GifAspectRatio),
      Q_FIELD(JpegColorSpace, {}, {"RGB", "GrayScale", "YCbCr", "CMYK", "YCbCrK"}),
      Q_FIELD(JpegQuality, {1, 100}),
      Q_FIELD(JpegDctMethod, {}, {"ISLOW", "IFAST", "FLOAT"}),
      Q_FIELD(JpegOptimalHuffman),
      Q_FIELD(JpegSmoothing, {0, 100}),
      Q_FIELD(JpegProgressive),
      Q_FIELD(JpegScale, {0, 4}),
      Q_FIELD(JpegScaleDenominator),
      Q_FIELD(PcxVersion),
      Q_FIELD(PcxCompression, {0, 1}),
      Q_FIELD(BmpVersion, {0, 3}),
      Q_FIELD(BmpCompression, {0, 1}),
      Q_FIELD(IcoImageIndex),
      Q_FIELD(IcoBackground),
      Q_FIELD(CurImageIndex),
      Q_FIELD(CurXHotSpot),
      Q_FIELD(CurYHotSpot),
      Q_FIELD(CurBackground),
      Q_FIELD(PngInterlaced),
      Q_FIELD(PngBackground),
      Q_FIELD(PngFilter, {}, {"NONE", "SUB", "PAETH"}),
      Q_FIELD(PngCompression, {0, 9}),
      Q_FIELD(TgaXPos),
      Q_FIELD(TgaYPos),
      Q_FIELD(TgaCompressed),
      Q_FIELD(TgaDescriptor),
      Q_FIELD(TgaAuthor),
      Q_FIELD(TgaDate),
      Q_FIELD(TgaImageName),
      Q_FIELD(TgaBackground),
      Q_FIELD(TgaAspectRatio),
      Q_FIELD(TgaGamma),
      Q_FIELD(TgaGrayLevel),
      Q_FIELD(ExifImageDescription),
      Q_FIELD(ExifMake),
      Q_FIELD(ExifModel),
      Q_FIELD(ExifOrientation),
      Q_FIELD(ExifXResolution),
      Q_FIELD(ExifYResolution),
      Q_FIELD(ExifResolutionUnit),
      Q_FIELD(ExifSoftware),
      Q_FIELD(ExifDateTime),
      Q_ARRAY(ExifWhitePoint),
      Q_ARRAY(ExifPrimaryChromaticities),
      Q_ARRAY(ExifYCbCrCoefficients),
      Q_FIELD(ExifYCbCrPositioning),
      Q_ARRAY(ExifReferenceBlackWhite),
      Q_FIELD(ExifRightsNotice),
      Q_FIELD(ExifExposureTime),
      Q_FIELD(ExifFNumber),
      Q_FIELD(ExifExposureProgram),
      Q_ARRAY(ExifISOSpeedRatings),
      Q_FIELD(ExifVersion),
      Q_FIELD(ExifDateTimeOriginal),
      Q_FIELD(ExifDateTimeDigitized),
      Q_FIELD(ExifCompressedBitsPerPixel),
      Q_FIELD(ExifShutterSpeedValue),
      Q_FIELD(ExifApertureValue),
      Q_FIELD(ExifBrightnessValue),
      Q_FIELD(ExifExposureBiasValue),
      Q_FIELD(ExifMaxApertureValue),
      Q_FIELD(ExifSubjectDistance),
      Q_FIELD(ExifMeteringMode),
      Q_FIELD(ExifLightSource),
      Q_FIELD(ExifFlash),
      Q_FIELD(ExifFocalLength),
      Q_FIELD(ExifSubsecTime),
      Q_FIELD(ExifSubsecTimeOriginal),
      Q_FIELD(ExifSubsecTimeDigitized),
      Q_FIELD(ExifFlashPixVersion),
      Q_FIELD(ExifColorSpace),
      Q_FIELD(ExifPixelXDimension),
      Q_FIELD(ExifPixelYDimension),
      Q_FIELD(ExifRelatedSoundFile),
      Q_FIELD(ExifFocalPlaneXResolution),
      Q_FIELD(ExifFocalPlaneYResolution),
      Q_FIELD(ExifFocalPlaneResolutionUnit),
      Q_FIELD(ExifExposureIndex),
      Q_FIELD(ExifSensingMethod),
      Q_FIELD(ExifFileSource),
      Q_FIELD(ExifSceneType),
      Q_FIELD(FileName),
      Q_FIELD(GifImageCount),
      Q_FIELD(TiffImageCount),
  };
  return fields;
}

#undef Q_FIELD

template <class T>
struct IsArray : std::false_type {};
template <class T, size_t N>
struct IsArray<std::array<T, N>> : std::true_type {};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    parts.push_back(Trim(text.substr(start, comma - start)));
  parts.push_back(Trim(text.substr(start)));
  return parts;
}

bool ParseInteger(const std::string& text, int64_t& v) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  return !text.empty() && ec == std::errc() && ptr == end;
}

bool ParseReal(const std::string& text, double& v) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  return !text.empty() && ec == std::errc() && ptr == end && std::isfinite(v);
}

std::string RealText(double v) {
  char buf[64];
  const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, ptr);
}

bool ParseColor(const std::string& text, TBGR& c) {
  if (text.size() == 7 && text[0] == '#') {
    unsigned v = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + 1, text.data() + 7, v, 16);
    if (ec != std::errc() || ptr != text.data() + 7) return false;
    c = MakeBGR(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v));
    return true;
  }
  const std::vector<std::string> parts = SplitCommas(text);
  int64_t rgb[3];
  if (parts.size() != 3) return false;
  for (int i = 0; i < 3; ++i)
    if (!ParseInteger(parts[size_t(i)], rgb[i]) || rgb[i] < 0 || rgb[i] > 255) return false;
  c = MakeBGR(uint8_t(rgb[0]), uint8_t(rgb[1]), uint8_t(rgb[2]));
  return true;
}

std::string ColorText(const TBGR& c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
  return buf;
}

template <class T>
TRange RangeOf(const TField& f) {
  if (f.range.Set()) return f.range;
  if constexpr (std::is_enum_v<T>)
    return {0, int64_t(f.names.size()) - 1};
  else
    return {std::numeric_limits<T>::min(), std::numeric_limits<T>::max()};
}

// Parses `text` into a value of the field's type; false with a reason.
template <class T>
bool ParseValue(const TField& f, const std::string& text, T& out, std::string& error) {
  if constexpr (std::is_same_v<T, bool>) {
    const std::string t = Lower(text);
    if (t == "1" || t == "true") return out = true, true;
    if (t == "0" || t == "false") return out = false, true;
    error = "expected 0, 1, true or false";
    return false;
  } else if constexpr (std::is_same_v<T, std::string>) {
    out = text;
    return true;
  } else if constexpr (std::is_same_v<T, double>) {
    if (ParseReal(text, out)) return true;
    error = "expected a number";
    return false;
  } else if constexpr (std::is_same_v<T, TBGR>) {
    if (ParseColor(text, out)) return true;
    error = "expected a colour as #RRGGBB or r,g,b";
    return false;
  } else if constexpr (IsArray<T>::value) {
    const std::vector<std::string> parts = SplitCommas(text);
    if (parts.size() != out.size()) {
      error = "expected " + std::to_string(out.size()) + " comma-separated numbers";
      return false;
    }
    T items{};
    for (size_t i = 0; i < items.size(); ++i)
      if (!ParseValue(f, parts[i], items[i], error)) return false;
    out = items;
    return true;
  } else {
    int64_t v = 0;
    if constexpr (std::is_enum_v<T>) {
      const auto named = std::find_if(f.names.begin(), f.names.end(),
                                      [&](const std::string& n) { return Lower(n) == Lower(text); });
      if (named != f.names.end()) return out = T(named - f.names.begin()), true;
    }
    const TRange r = RangeOf<T>(f);
    if (!ParseInteger(text, v) || v < r.min || v > r.max) {
      error = "expected a whole number from " + std::to_string(r.min) + " to " + std::to_string(r.max);
      return false;
    }
    out = T(v);
    return true;
  }
}

template <class T>
TParamValue ValueOf(const TField& f, const T& v) {
  TParamValue out;
  out.Name = f.name;
  if constexpr (std::is_same_v<T, bool>) {
    out.Kind = TParamKind::pkBool;
    out.Text = v ? "true" : "false";
    out.Numbers = {v ? 1.0 : 0.0};
  } else if constexpr (std::is_same_v<T, std::string>) {
    out.Kind = TParamKind::pkText;
    out.Text = v;
  } else if constexpr (std::is_same_v<T, double>) {
    out.Kind = TParamKind::pkDouble;
    out.Text = RealText(v);
    out.Numbers = {v};
  } else if constexpr (std::is_same_v<T, TBGR>) {
    out.Kind = TParamKind::pkColor;
    out.Text = ColorText(v);
  } else if constexpr (IsArray<T>::value) {
    out.Kind = std::is_same_v<typename T::value_type, double> ? TParamKind::pkDoubleArray : TParamKind::pkIntArray;
    for (const auto item : v) {
      out.Text += (out.Numbers.empty() ? "" : ",") + ValueOf(f, item).Text;
      out.Numbers.push_back(double(item));
    }
  } else if constexpr (std::is_enum_v<T>) {
    const size_t n = size_t(v);
    out.Kind = TParamKind::pkEnum;
    out.Text = n < f.names.size() ? f.names[n] : std::to_string(n);
    out.Numbers = {double(n)};
  } else {
    out.Kind = TParamKind::pkInt;
    out.Text = std::to_string(int64_t(v));
    out.Numbers = {double(v)};
  }
  return out;
}

}  // namespace

bool SetParamField(TIOParamsVals& params, const std::string& name, const std::string& value, std::string& error) {
  const auto& fields = Fields();
  const auto f = std::find_if(fields.begin(), fields.end(), [&](const TField& x) { return name == x.name; });
  if (f == fields.end()) {
    error = "unknown parameter \"" + name + "\"";
    return false;
  }
  return std::visit(
      [&](auto member) {
        auto parsed = params.*member;
        if (!ParseValue(*f, value, parsed, error)) {
          error = name + ": " + error;
          return false;
        }
        params.*member = parsed;
        return true;
      },
      f->member);
}

std::vector<TParamValue> ParamFieldValues(const TIOParamsVals& params) {
  std::vector<TParamValue> values;
  for (const TField& f : Fields())
    values.push_back(std::visit([&](auto member) { return ValueOf(f, params.*member); }, f.member));
  return values;
}

std::vector<std::string> ParamFieldNames() {
  // Fields with no text form of their own: coders, lists, the thumbnail and
  // the palette with its count, which only change together.
  static const char* const kOthers[] = {"TiffLzwDecoder", "TiffLzwEncoder", "GifLzwDecoder", "GifLzwEncoder",
                                        "JpegMarkers",    "IptcInfo",       "PxmComments",   "ExifThumbnail",
                                        "ColorMap",       "ColorMapCount"};
  std::vector<std::string> names;
  for (const TField& f : Fields()) names.push_back(f.name);
  names.insert(names.end(), std::begin(kOthers), std::end(kOthers));
  return names;
}

}  // namespace quillet
