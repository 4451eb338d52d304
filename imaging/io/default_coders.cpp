#include "imaging/io/default_coders.h"

#include "imaging/core/engine_settings.h"
#include "imaging/io/formats/gif/gif_codec.h"

namespace quillet {

// The GIF LZW coders; the TIFF LZW coders and the EXIF decoder are not built
// yet, so LZW-compressed TIFF can be neither read nor written and EXIF stays
// a JPEG marker.
void InstallDefaultCoders() {
  TIELzwSlots slots;
  slots.GifDecoder = GifLzwDecode;
  slots.GifEncoder = GifLzwEncode;
  SetLzwSlots(slots);
  SetExifDecoder(nullptr);
}

}  // namespace quillet
