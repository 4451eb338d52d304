// One page of a TIFF file as the reader needs it: the layout of its pixel
// data taken from the tags of its directory, and the parameters it reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/core/colors.h"
#include "imaging/io/formats/tiff/tiff_file.h"
#include "imaging/io/io_params.h"

namespace quillet {

// Tag values of the compressions the reader knows.
enum TTiffCompression : uint32_t {
  tcNone = 1,
  tcModifiedHuffman = 2,
  tcGroup3 = 3,
  tcGroup4 = 4,
  tcLzw = 5,
  tcOldJpeg = 6,
  tcJpeg = 7,
  tcPackBits = 32773,
};

// Photometric interpretations by tag value.
enum TTiffPhotometric : uint32_t {
  tpWhiteIsZero = 0,
  tpBlackIsZero = 1,
  tpRGB = 2,
  tpPalette = 3,
  tpCMYK = 5,
  tpCIELab = 8,
};

struct TTiffPage {
  int64_t Width = 0, Height = 0;
  int Bits = 1, Samples = 1;
  bool UnequalBits = false;  // BitsPerSample values that differ
  uint32_t Compression = tcNone;
  uint32_t Photometric = tpRGB;
  uint32_t FillOrder = 1;
  uint32_t Orientation = 1;
  int64_t RowsPerStrip = 0;
  uint32_t Planar = 1;
  uint32_t T4Options = 0;
  uint32_t Predictor = 1;
  uint32_t ExtraSamples = 0;
  int64_t TileWidth = 0, TileLength = 0;
  bool Tiled = false;
  uint32_t JpegProc = 0;
  int64_t JpegOffset = -1, JpegLength = 0;
  // Strip or tile offsets and byte counts (the counts may be missing).
  std::vector<uint32_t> Offsets, Counts;
  bool HasColorMap = false;
  std::vector<TBGR> Palette;  // 2^Bits entries when the ColorMap is complete
  std::string Software;

  bool Ccitt() const { return Compression >= tcModifiedHuffman && Compression <= tcGroup4; }
  // Bytes of one row of a strip or tile `width` pixels wide, of one plane
  // (`samples` 1) or all: ceil(samples x width x bits / 8).
  int64_t RowBytes(int64_t width, int samples) const { return (int64_t(samples) * width * Bits + 7) / 8; }
};

// The page's layout from its directory; the quirk of foreign bilevel files
// that call themselves RGB is applied here.
void ReadPage(const TTiffDirectory& dir, TTiffPage& page);

// Every parameter the page reports, the EXIF fields from its directory and
// its EXIF directory (`exif`, or none) included.
void FillParams(const TTiffDirectory& dir, const TTiffDirectory* exif, const TTiffPage& page, TIOParamsVals& params);

// Copies the EXIF fields of `from`, its thumbnail apart.
void CopyExifFields(const TIOParamsVals& from, TIOParamsVals& to);

}  // namespace quillet
