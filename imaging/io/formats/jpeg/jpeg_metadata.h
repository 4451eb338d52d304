// What the JPEG codec keeps beside the pixels: the IPTC records of an APP13
// marker, the EXIF block of an APP1 marker, and the resolution they imply.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/io/io_params.h"

namespace quillet {

// After the markers of a read were kept: IptcInfo from the first APP13
// marker (not counted as a change) and the EXIF fields from the first APP1
// "Exif" marker. True when EXIF was decoded.
bool ReadJpegMetadata(TIOParamsVals& params);

// DpiX and DpiY from the JFIF density (unit 0 aspect only, 1 per inch,
// 2 per centimetre); an aspect ratio of 1:1 takes the EXIF resolution when
// there is one above 0, and what is still no resolution takes the screen's.
void SetJpegResolution(TIOParamsVals& params, int unit, int xDensity, int yDensity, bool exifDecoded);

// Before a write: IptcInfo changed since the read goes into the first APP13
// marker (or a new one); an emptied list removes the marker its records came from.
void StoreIptcMarker(TIOParamsVals& params);

}  // namespace quillet
