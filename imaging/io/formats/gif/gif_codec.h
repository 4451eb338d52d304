// Reader and writer of GIF files (one image of a multi-image file is read,
// a single image written), the LZW coders they reach through the coder
// slots, and the image count of a file.
#pragma once

#include <cstdint>

#include "imaging/io/codec.h"

namespace quillet {

void ReadGIFStream(TIOReadArgs& args);
void WriteGIFStream(TIOWriteArgs& args);

// The images of the GIF data at the stream's position; 0 when it is not GIF.
int CountGifImagesInStream(TIEStream& stream);

// The coder procedures of the GIF slots. The decoder reads one image's data
// from its minimum code size byte into width x height indices in display
// order; it leaves the stream after the data's terminator, or where it was
// when it fails. The encoder writes the code size byte, the data sub-blocks
// and the terminator for indices of `bits` bits in display order.
bool GifLzwDecode(TIEStream& stream, int64_t height, int64_t width, uint8_t* buffer, bool interlaced);
bool GifLzwEncode(TIEStream& stream, int64_t height, int64_t width, int bits, const uint8_t* buffer,
                  bool interlaced);

}  // namespace quillet
