// Reader and writer of device-independent bitmap files (BMP, DIB, RLE),
// with the OS/2 headers, RLE4/RLE8, bit fields and quantized palettes.
#pragma once

#include "imaging/io/codec.h"

namespace quillet {

void ReadBMPStream(TIOReadArgs& args);
void WriteBMPStream(TIOWriteArgs& args);

}  // namespace quillet
