// The per-image parameter record: everything the last read learned about a
// file and everything the next write should do, with its defaults.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/core/iptc_info_list.h"
#include "imaging/core/marker_list.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/core/engine_settings.h"

namespace quillet {

class TZiridEvIO;

enum class TIOTIFFCompression : uint8_t { UNCOMPRESSED, CCITT1D, G3FAX1D, G3FAX2D, G4FAX, LZW, OLDJPEG, JPEG, PACKBITS };
enum class TIOTIFFPhotometInterpret : uint8_t { WHITEISZERO, BLACKISZERO, RGB, RGBPALETTE, TRANSPMASK, CMYK, YCBCR, CIELAB };
enum class TIOJPEGColorspace : uint8_t { RGB, GrayScale, YCbCr, CMYK, YCbCrK };
enum class TIOJPEGDctMethod : uint8_t { ISLOW, IFAST, FLOAT };
enum class TIOPNGFilter : uint8_t { NONE, SUB, PAETH };

// "Today" for TgaDate as days since 1899-12-30; replaceable so tests are repeatable.
using TIEClock = std::function<double()>;
void SetParamsClock(TIEClock clock);
double ParamsToday();

// Copies and assignments take every field by value (the palette, the lists and
// the thumbnail too); the owner stays with the record it belongs to.
class TIOParamsVals {
 public:
  explicit TIOParamsVals(TZiridEvIO* owner = nullptr);

  TZiridEvIO* Owner() const { return owner_.io; }

  // All defaults; Width/Height and DpiX/DpiY come from the owner's image.
  void Reset();
  void Assign(const TIOParamsVals& source) { *this = source; }

  // Palette helpers: ColorMap holds ColorMapCount entries blue, green, red.
  void SetColorMap(const std::vector<TBGR>& colors);
  void FreeColorMap();

  // Indexed EXIF arrays; indexes out of range read 0 and write nothing.
  int32_t ExifISOSpeedRatings(int i) const;
  void SetExifISOSpeedRatings(int i, int32_t v);
  double ExifWhitePoint(int i) const;
  void SetExifWhitePoint(int i, double v);
  double ExifPrimaryChromaticities(int i) const;
  void SetExifPrimaryChromaticities(int i, double v);
  double ExifYCbCrCoefficients(int i) const;
  void SetExifYCbCrCoefficients(int i, double v);
  double ExifReferenceBlackWhite(int i) const;
  void SetExifReferenceBlackWhite(int i, double v);

  int32_t BitsPerSample = 8;
  int32_t SamplesPerPixel = 3;
  int32_t Width = 0, Height = 0;
  int32_t DpiX = 96, DpiY = 96;
  int32_t FileType = 0;

  TIOTIFFCompression TiffCompression = TIOTIFFCompression::UNCOMPRESSED;
  int32_t TiffImageIndex = 0;
  TIOTIFFPhotometInterpret TiffPhotometric = TIOTIFFPhotometInterpret::RGB;
  int32_t TiffPlanarConfig = 1;
  int32_t TiffXPos = 0, TiffYPos = 0;
  std::string TiffDocumentName, TiffImageDescription, TiffPageName;
  int32_t TiffPageNumber = 0, TiffPageCount = 0;
  TTiffLzwDecoder TiffLzwDecoder;
  TTiffLzwEncoder TiffLzwEncoder;
  bool AutoOrient = true;

  std::string GifVersion = "GIF89a";
  int32_t GifImageIndex = 0;
  int32_t GifXPos = 0, GifYPos = 0;
  int32_t GifDelayTime = 0;
  bool GifTransparent = false;
  TBGR GifTransparentColor = kBlack;
  bool GifInterlaced = false;
  int32_t GifScreenWidth = 0, GifScreenHeight = 0;
  TBGR GifBackground = kBlack;
  int32_t GifAspectRatio = 0;
  TGifLzwDecoder GifLzwDecoder;
  TGifLzwEncoder GifLzwEncoder;

  TIOJPEGColorspace JpegColorSpace = TIOJPEGColorspace::YCbCr;
  int32_t JpegQuality = 50;
  TIOJPEGDctMethod JpegDctMethod = TIOJPEGDctMethod::ISLOW;
  bool JpegOptimalHuffman = false;
  int32_t JpegSmoothing = 0;
  bool JpegProgressive = false;
  uint8_t JpegScale = 1;  // 0 automatic, 1 full, 2 half, 3 quarter, 4 eighth
  TIEMarkerList JpegMarkers;
  int32_t JpegScaleDenominator = 1;

  int32_t PcxVersion = 5;
  uint8_t PcxCompression = 1;  // 0 uncompressed, 1 RLE

  uint8_t BmpVersion = 1;      // 0 version 1, 1 version 3, 2 OS/2 v1, 3 OS/2 v2
  uint8_t BmpCompression = 0;  // 0 none, 1 RLE

  int32_t IcoImageIndex = 0;
  TBGR IcoBackground = kWhite;
  int32_t CurImageIndex = 0;
  int32_t CurXHotSpot = 0, CurYHotSpot = 0;
  TBGR CurBackground = kWhite;

  bool PngInterlaced = false;
  TBGR PngBackground = kBlack;
  TIOPNGFilter PngFilter = TIOPNGFilter::NONE;
  int32_t PngCompression = 5;

  int32_t TgaXPos = 0, TgaYPos = 0;
  bool TgaCompressed = true;
  std::string TgaDescriptor, TgaAuthor;
  double TgaDate = 0;
  std::string TgaImageName;
  TBGR TgaBackground = kBlack;
  double TgaAspectRatio = 1.0;
  double TgaGamma = 2.2;
  bool TgaGrayLevel = false;

  TIEIPTCInfoList IptcInfo;
  std::vector<std::string> PxmComments;

  TIEWorkingBitmap ExifThumbnail{1, 1, TIEPixelFormat::pf24bit};
  std::string ExifImageDescription, ExifMake, ExifModel;
  int32_t ExifOrientation = 0;
  double ExifXResolution = 0, ExifYResolution = 0;
  int32_t ExifResolutionUnit = 0;
  std::string ExifSoftware, ExifDateTime;
  std::array<double, 2> ExifWhitePointValues{};
  std::array<double, 6> ExifPrimaryChromaticitiesValues{};
  std::array<double, 3> ExifYCbCrCoefficientsValues{};
  int32_t ExifYCbCrPositioning = 0;
  std::array<double, 6> ExifReferenceBlackWhiteValues{};
  std::string ExifRightsNotice;
  double ExifExposureTime = 0, ExifFNumber = 0;
  int32_t ExifExposureProgram = 0;
  std::array<int32_t, 2> ExifISOSpeedRatingsValues{};
  std::string ExifVersion;
  std::string ExifDateTimeOriginal, ExifDateTimeDigitized;
  double ExifCompressedBitsPerPixel = 0, ExifShutterSpeedValue = 0, ExifApertureValue = 0,
         ExifBrightnessValue = 0, ExifExposureBiasValue = 0, ExifMaxApertureValue = 0, ExifSubjectDistance = 0;
  int32_t ExifMeteringMode = 0, ExifLightSource = 0, ExifFlash = 0;
  double ExifFocalLength = 0;
  std::string ExifSubsecTime, ExifSubsecTimeOriginal, ExifSubsecTimeDigitized;
  std::string ExifFlashPixVersion;
  int32_t ExifColorSpace = 0, ExifPixelXDimension = 0, ExifPixelYDimension = 0;
  std::string ExifRelatedSoundFile;
  double ExifFocalPlaneXResolution = 0, ExifFocalPlaneYResolution = 0;
  int32_t ExifFocalPlaneResolutionUnit = 0;
  double ExifExposureIndex = 0;
  int32_t ExifSensingMethod = 0, ExifFileSource = 0, ExifSceneType = 0;

  std::string FileName;
  std::vector<TBGR> ColorMap;  // ColorMapCount entries
  int32_t ColorMapCount = 0;
  int32_t GifImageCount = 0;
  int32_t TiffImageCount = 0;

 private:
  // A copy belongs to nobody until given an owner, and assigning values to a
  // record does not move it to another component.
  struct TOwner {
    TZiridEvIO* io = nullptr;
    explicit TOwner(TZiridEvIO* owner) : io(owner) {}
    TOwner(const TOwner&) {}
    TOwner& operator=(const TOwner&) { return *this; }
  };
  TOwner owner_;
};

}  // namespace quillet
