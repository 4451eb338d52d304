// Fuzz target of the PNG reader, with and without an alpha plane (the first
// byte chooses), since the two take different row paths.
#include "fuzz/fuzz_read.h"
#include "imaging/io/formats/png/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  return FuzzRead(quillet::ReadPNGStream, data + 1, size - 1, data[0] & 1);
}
