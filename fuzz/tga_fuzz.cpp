// Fuzz target of the Targa reader.
#include "fuzz/fuzz_read.h"
#include "imaging/io/formats/tga/tga_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzRead(quillet::ReadTGAStream, data, size);
}
