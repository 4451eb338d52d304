// Reader and writer of PaintBrush (PCX) files: 1-bit, 16-colour (packed or
// four planes), 256-colour and 24-bit (three planes) images, plain or run-length.
#pragma once

#include "imaging/io/codec.h"

namespace quillet {

void ReadPCXStream(TIOReadArgs& args);
void WritePCXStream(TIOWriteArgs& args);

}  // namespace quillet
