// Fuzz target of the TIFF reader: the first byte picks the alpha plane (bit 0)
// and the page (bits 1 to 2), since pages and alpha take different paths.
#include "fuzz/fuzz_read.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/formats/tiff/tiff_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  quillet::InstallDefaultCoders();
  const int32_t page = data[0] >> 1 & 3;
  return FuzzRead(quillet::ReadTIFFStream, data + 1, size - 1, data[0] & 1,
                  [page](quillet::TIOParamsVals& p) { p.TiffImageIndex = page; });
}
