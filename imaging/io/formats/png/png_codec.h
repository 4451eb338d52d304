// Reader and writer of PNG files on the system's PNG library: every colour
// type and depth, transparency into the alpha plane, interlace, palettes
// through the quantizer.
#pragma once

#include "imaging/io/codec.h"

namespace quillet {

void ReadPNGStream(TIOReadArgs& args);
void WritePNGStream(TIOWriteArgs& args);

// The 8-byte PNG signature at the position; the position is restored.
bool IsPNGStream(TIEStream& stream);

}  // namespace quillet
