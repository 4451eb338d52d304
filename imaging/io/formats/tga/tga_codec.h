// Reader and writer of Targa files: colour-mapped, true-colour and grey
// images, plain or run-length coded, with the version 2 extension area.
#pragma once

#include "imaging/io/codec.h"

namespace quillet {

void ReadTGAStream(TIOReadArgs& args);
void WriteTGAStream(TIOWriteArgs& args);

}  // namespace quillet
