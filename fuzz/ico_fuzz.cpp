// Fuzz target of the ICO reader.
#include "fuzz/fuzz_read.h"
#include "imaging/io/formats/ico/ico_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzRead(quillet::ReadICOStream, data, size);
}
