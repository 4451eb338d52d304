// Fuzz target of the BMP reader.
#include "fuzz/fuzz_read.h"
#include "imaging/io/formats/bmp/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzRead(quillet::ReadBMPStream, data, size);
}
