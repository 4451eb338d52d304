#include "imaging/io/default_coders.h"

#include "imaging/core/engine_settings.h"
#include "imaging/io/formats/tiff/tiff_codec.h"
#include "imaging/io/formats/tiff/tiff_lzw.h"

namespace quillet {

// The GIF slots stay empty until this build has a GIF coder: GIF can be
// neither read nor written then, and the dialogs hide it.
void InstallDefaultCoders() {
  TIELzwSlots slots;
  slots.TiffDecoder = TiffLzwDecodeRow;
  slots.TiffEncoder = TiffLzwEncodeRow;
  SetLzwSlots(slots);
  SetExifDecoder(DecodeExifBlock);
}

}  // namespace quillet
