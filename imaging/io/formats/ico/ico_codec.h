// Readers of icon and cursor files, and their content tests.
#pragma once

#include "imaging/io/codec.h"

namespace quillet {

void ReadICOStream(TIOReadArgs& args);
void ReadCURStream(TIOReadArgs& args);

// The directory checks of content detection; the stream position is restored.
bool IsICOStream(TIEStream& stream);
bool IsCURStream(TIEStream& stream);

}  // namespace quillet
