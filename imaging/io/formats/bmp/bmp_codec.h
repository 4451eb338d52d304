// Reader and writer of device-independent bitmap files (BMP, DIB, RLE),
// with the OS/2 headers, RLE4/RLE8, bit fields and quantized palettes.
#pragma once

#include <span>

#include "imaging/io/codec.h"
#include "imaging/proc/quantizer.h"

namespace quillet {

void ReadBMPStream(TIOReadArgs& args);
void WriteBMPStream(TIOWriteArgs& args);

// A 4-bit (16 entries) or 8-bit (256 entries) file of a 24-bit image with a
// palette and indices the caller's quantizer made over that image; header
// version and RLE as the parameters ask.
void WriteBMPPaletteStream(TIOWriteArgs& args, const TIEQuantizer& quantizer, std::span<const TBGR> palette);

}  // namespace quillet
