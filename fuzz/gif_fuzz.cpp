// Fuzz target of the GIF reader with an alpha plane. The first byte picks
// the image (0 to 3), so that the walk past earlier images is fuzzed too.
#include "fuzz/fuzz_read.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/formats/gif/gif_codec.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quillet::InstallDefaultCoders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int index = data[0] & 3;
  return FuzzRead(quillet::ReadGIFStream, data + 1, size - 1, true,
                  [index](quillet::TIOParamsVals& p) { p.GifImageIndex = index; });
}
