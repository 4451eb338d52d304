#include "imaging/io/default_coders.h"

#include "imaging/core/engine_settings.h"
#include "imaging/io/formats/gif/gif_codec.h"
#include "imaging/io/formats/tiff/tiff_codec.h"
#include "imaging/io/formats/tiff/tiff_lzw.h"

namespace quillet {

void InstallDefaultCoders() {
  TIELzwSlots slots;
  slots.GifDecoder = GifLzwDecode;
  slots.GifEncoder = GifLzwEncode;
  slots.TiffDecoder = TiffLzwDecodeRow;
  slots.TiffEncoder = TiffLzwEncodeRow;
  SetLzwSlots(slots);
  SetExifDecoder(DecodeExifBlock);
}

}  // namespace quillet
