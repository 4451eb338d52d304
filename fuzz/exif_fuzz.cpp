// Fuzz target of the EXIF block decoder (the TIFF reader over the bytes,
// thumbnails through the JPEG reader).
#include "imaging/core/engine_settings.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/formats/tiff/tiff_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quillet::InstallDefaultCoders();
  quillet::SetMaxImagePixels(1 << 22);
  quillet::TIOParamsVals params;
  quillet::DecodeExifBlock(data, size, params);
  return 0;
}
