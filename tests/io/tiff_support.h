// Hand-made TIFF data for the codec's tests: directories of entries in
// either byte order, with the coders installed as the programs install them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

#include "codec_harness.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/formats/tiff/tiff_codec.h"

namespace quillet::test {

class TiffTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallDefaultCoders(); }
};

// One page: its entries (tag -> type and values) and its pixel data. The
// builder puts the data after the header and lays out values that do not
// fit in an entry after the directory.
struct TiffPage {
  struct Entry {
    uint16_t type = 3;
    std::vector<uint32_t> values;
  };
  std::map<uint16_t, Entry> entries;
  std::vector<uint8_t> data;
  uint16_t offsetTag = 273;  // the tag that gets the data's offset (513 for a JPEG stream)

  TiffPage& Set(uint16_t tag, std::vector<uint32_t> values, uint16_t type = 3) {
    entries[tag] = {type, std::move(values)};
    return *this;
  }
};

// Width x height of `bits` x `samples`, uncompressed, one strip.
inline TiffPage PlainPage(uint32_t w, uint32_t h, int bits, int samples, uint32_t photometric,
                          std::vector<uint8_t> data) {
  TiffPage p;
  p.Set(256, {w}).Set(257, {h}).Set(258, std::vector<uint32_t>(size_t(samples), uint32_t(bits)));
  p.Set(262, {photometric}).Set(277, {uint32_t(samples)}).Set(278, {h});
  p.data = std::move(data);
  return p;
}

// The pages chained in order; `bigEndian` for "MM" data. The data's offset
// and (for strips) byte count are filled in unless the page sets them.
std::vector<uint8_t> BuildTiff(std::vector<TiffPage> pages, bool bigEndian = false);

// Decodes page `index` of TIFF data with an alpha plane.
inline Decoded DecodeTiff(const std::vector<uint8_t>& bytes, int index = 0, bool autoOrient = true,
                          TIEMask* alpha = nullptr) {
  return Decode(
      ReadTIFFStream, bytes,
      [&](TIOParamsVals& p) {
        p.TiffImageIndex = index;
        p.AutoOrient = autoOrient;
      },
      false, -1, alpha);
}

// Writes `bitmap` as TIFF with the compression and photometric choice.
inline std::vector<uint8_t> EncodeTiff(const TIEWorkingBitmap& bitmap, TIOTIFFCompression compression,
                                       TIOTIFFPhotometInterpret photometric = TIOTIFFPhotometInterpret::RGB) {
  TIOParamsVals params;
  params.TiffCompression = compression;
  params.TiffPhotometric = photometric;
  params.BitsPerSample = bitmap.BitCount() == 1 ? 1 : 8;
  params.SamplesPerPixel = bitmap.BitCount() == 1 ? 1 : 3;
  return Encode(WriteTIFFStream, bitmap, params);
}

// Random pixels in the bitmap's format.
TIEWorkingBitmap RandomBitmap(int64_t w, int64_t h, TIEPixelFormat format, uint32_t seed);

}  // namespace quillet::test
