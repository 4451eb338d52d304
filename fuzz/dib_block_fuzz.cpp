// Fuzz target of the clipboard's bitmap block reader and so of the DIB reader it
// shares with BMP files and icons: the first byte picks whether the pixels come
// apart from the header, as the scanner passes them. A small pixel limit keeps
// big headers cheap.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/core/engine_settings.h"
#include "imaging/proc/dib_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  quillet::SetMaxImagePixels(1 << 22);
  const std::span<const uint8_t> input(data + 1, size - 1);
  quillet::TIEWorkingBitmap bitmap;
  if (data[0] & 1 && input.size() > 40)
    quillet::ReadDibBlock(input.first(40), bitmap, input.subspan(40));
  else
    quillet::ReadDibBlock(input, bitmap);
  return 0;
}
