// Fuzz target of the CUR reader.
#include "fuzz/fuzz_read.h"
#include "imaging/io/formats/ico/ico_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzRead(quillet::ReadCURStream, data, size);
}
