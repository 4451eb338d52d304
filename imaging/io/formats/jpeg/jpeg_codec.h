// Reader and writer of JPEG files on the system's JPEG library: scaled
// decoding, colour spaces with CMYK and YCCK, markers, IPTC and resolution.
#pragma once

#include "imaging/io/codec.h"

namespace quillet {

void ReadJPEGStream(TIOReadArgs& args);
void WriteJPEGStream(TIOWriteArgs& args);

}  // namespace quillet
