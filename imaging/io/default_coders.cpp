#include "imaging/io/default_coders.h"

#include "imaging/core/engine_settings.h"

namespace quillet {

// No LZW coder and no EXIF decoder are built yet: the GIF and TIFF codecs add
// theirs here. Until then GIF and LZW-compressed TIFF can be neither read nor
// written, the dialogs hide GIF, and EXIF stays a JPEG marker.
void InstallDefaultCoders() {
  SetLzwSlots(TIELzwSlots{});
  SetExifDecoder(nullptr);
}

}  // namespace quillet
