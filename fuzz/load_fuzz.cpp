// Fuzz target of reading a whole file as the editor opens a stream: content
// detection picks the codec, which reads into a bitmap with an alpha plane.
#include <cstddef>
#include <cstdint>

#include "imaging/core/engine_settings.h"
#include "imaging/core/mask.h"
#include "imaging/core/stream.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/ziridev_io.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  quillet::InstallDefaultCoders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  // Resolution equalising may stretch a tiny image up to the pixel limit;
  // a megapixel keeps such inputs within the time limit of the instrumented build.
  SetMaxImagePixels(1 << 20);
  TIEMemoryStream stream(data, int64_t(size));
  TIEWorkingBitmap bitmap;
  TIEMask alpha;
  TZiridEvIO io;
  io.SetAttachedBitmap(&bitmap);
  io.SetAlphaMask(&alpha);
  io.LoadFromStream(stream);
  return 0;
}
