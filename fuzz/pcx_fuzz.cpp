// Fuzz target of the PCX reader.
#include "fuzz/fuzz_read.h"
#include "imaging/io/formats/pcx/pcx_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzRead(quillet::ReadPCXStream, data, size);
}
