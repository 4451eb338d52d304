// Fuzz target of the JPEG reader.
#include "fuzz/fuzz_read.h"
#include "imaging/io/formats/jpeg/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzRead(quillet::ReadJPEGStream, data, size);
}
