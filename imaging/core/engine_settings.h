// Everything the engine keeps for the whole process: the display measurements
// taken at start-up, the largest image it accepts, the folder of its image
// stores, and the coder slots the codecs call (LZW for GIF and TIFF, the EXIF
// block decoder). Programs set them once at start-up (InstallDefaultCoders
// fills the coder slots); every accessor may be called from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quillet {

class TIEStream;
class TIOParamsVals;

// Logical pixels per inch (the default DpiX, DpiY of views and files) and the
// 3-D edge size; 96 dpi and 2-pixel edges until the editor measures its screen.
struct TIEStartupMetrics {
  int DpiX = 96, DpiY = 96;
  int EdgeX = 2, EdgeY = 2;
};
TIEStartupMetrics StartupMetrics();
// A resolution below 1 or a negative edge keeps the value it had.
void SetStartupMetrics(const TIEStartupMetrics& metrics);

// Largest image the engine accepts, in pixels (2^28 by default). Decoders refuse more.
int64_t MaxImagePixels();
void SetMaxImagePixels(int64_t pixels);

// The folder the image stores put their files in: the one set, else $TMPDIR
// as it was at the first call, else /tmp.
std::string TempFolder();
void SetTempFolder(const std::string& folder);

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

// The four LZW coder slots; empty ones mean GIF and LZW TIFF cannot be coded.
struct TIELzwSlots {
  TGifLzwDecoder GifDecoder;
  TGifLzwEncoder GifEncoder;
  TTiffLzwDecoder TiffDecoder;
  TTiffLzwEncoder TiffEncoder;
};
TIELzwSlots LzwSlots();
void SetLzwSlots(const TIELzwSlots& slots);

// Decodes the TIFF structure of an EXIF block (the APP1 data after "Exif\0\0")
// into the Exif fields and ExifThumbnail; false, leaving them as they were,
// for a block it cannot use. Without one, EXIF stays a JPEG marker only.
using TExifDecoder = bool (*)(const uint8_t* data, size_t size, TIOParamsVals& params);
TExifDecoder ExifDecoder();
void SetExifDecoder(TExifDecoder decoder);

}  // namespace quillet
