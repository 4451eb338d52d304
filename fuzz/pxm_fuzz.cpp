// Fuzz target of the PBM, PGM and PPM reader.
#include "fuzz/fuzz_read.h"
#include "imaging/io/formats/pxm/pxm_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzRead(quillet::ReadPXMStream, data, size);
}
