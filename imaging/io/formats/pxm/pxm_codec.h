// Reader and writer of the portable bitmap, greymap and pixmap formats:
// P1 to P6 read (8 and 16-bit samples, scaled to 255), P4, P5 and P6 written.
#pragma once

#include "imaging/io/codec.h"

namespace quillet {

void ReadPXMStream(TIOReadArgs& args);
void WritePXMStream(TIOWriteArgs& args);

}  // namespace quillet
