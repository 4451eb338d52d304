// The four process-wide LZW coder slots (GIF and TIFF, decode and encode).
// They start empty; the application installs the coders it has.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace quillet {

class TIEStream;

// Decodes one LZW image into `buffer` (Width x Height indices, rows of Width bytes).
using TGifLzwDecoder =
    std::function<bool(TIEStream& stream, int64_t height, int64_t width, uint8_t* buffer, bool interlaced)>;
// Encodes Width x Height indices of `bits` bits each.
using TGifLzwEncoder = std::function<bool(TIEStream& stream, int64_t height, int64_t width, int bits,
                                          const uint8_t* buffer, bool interlaced)>;
// Row-at-a-time coders of TIFF strips; `state` is created by the first call and
// released by the call without data.
struct TTiffLzwState {
  virtual ~TTiffLzwState() = default;
};
using TTiffLzwDecoder = std::function<const uint8_t*(const uint8_t* data, int64_t size, int64_t rowLength,
                                                     std::unique_ptr<TTiffLzwState>& state)>;
using TTiffLzwEncoder = std::function<void(const uint8_t* row, int64_t count, TIEStream& stream,
                                           std::unique_ptr<TTiffLzwState>& state)>;

struct TIELzwSlots {
  TGifLzwDecoder GifDecoder;
  TGifLzwEncoder GifEncoder;
  TTiffLzwDecoder TiffDecoder;
  TTiffLzwEncoder TiffEncoder;
};

// The process-wide slots, empty until something installs coders.
TIELzwSlots& LzwSlots();

}  // namespace quillet
