// The one reader of device-independent bitmap data, shared by BMP files, icon and
// cursor entries and clipboard blocks: headers, layout rules, palettes, rows and RLE.
#pragma once

#include <cstdint>

#include "imaging/core/dib_rle.h"
#include "imaging/core/dib_rows.h"
#include "imaging/core/palette_table.h"
#include "imaging/core/stream.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

// Compression codes of the info header; other values (such as the YUV
// four-character codes of clipboard blocks) are not read here.
enum TDibCompression : uint32_t { dcRGB = 0, dcRLE8 = 1, dcRLE4 = 2, dcBitFields = 3 };

constexpr int64_t kDibCoreHeaderBytes = 12, kDibInfoHeaderBytes = 40;

struct TDibHeader {
  int64_t HeaderSize = 0;
  int64_t Width = 0, Height = 0;  // Height without its sign
  bool TopDown = false;           // the stored height was negative
  int Bits = 0;
  uint32_t Compression = dcRGB;
  uint32_t ImageSize = 0, ColorsUsed = 0;
  int32_t XPelsPerMeter = 0, YPelsPerMeter = 0;
  uint32_t HeaderMasks[3] = {};  // red, green, blue, inside headers of 52 bytes and more
  TBitFields Fields;
  TPaletteTable Palette;
};

// Reads the header at the stream's position: the 12-byte core header (16-bit
// sizes), or any header of 16 bytes and more, whose missing fields read 0.
// Leaves the stream just past the header; false for another size or a short read.
bool ReadDibInfoHeader(TIEStream& s, TDibHeader& h);

// Reads what follows the header for h.Bits: the bit-field masks (inside headers
// of 52 bytes and more, else right after the header), then the colour table of
// ColorsUsed entries, or 2^Bits at 8 bits and below (3-byte entries after the
// core header). The first 256 entries are kept. False when the data ends early.
bool ReadDibTables(TIEStream& s, TDibHeader& h);

// Why the pixel data cannot be decoded, or null: sizes not positive or over the
// pixel limit, depths other than 1, 4, 8, 16, 24, 32, RLE that is not
// bottom-up or at its own depth, bit fields other than at 16 and 32 bits (and
// in the OS/2 version 2 header, where compression 3 is another coding).
const char* DibLayoutProblem(const TDibHeader& h);

// 1 bit per pixel stays 1-bit for a black-and-white table in either order, or
// for any table with `everyTable`; everything else is decoded to 24 bits.
TIEPixelFormat DibPixelFormat(const TDibHeader& h, bool everyTable);

// Turns one stored row into one bitmap row of the chosen format: 1-bit rows as
// they are, complemented when the table's first colour is the lighter one so
// that index 0 stays black; other depths through the palette or the bit fields.
class TDibRowReader {
 public:
  TDibRowReader(const TDibHeader& h, TIEPixelFormat format);
  // A stored row, padded to 4 bytes.
  int64_t StoredBytes() const { return stored_; }
  // The stored row is the bitmap row byte for byte.
  bool Straight() const { return straight_; }
  void Decode(const uint8_t* src, uint8_t* dst) const;

 private:
  TDibRowDecoder decoder_;
  int64_t width_, stored_;
  bool bilevel_, invert_, straight_;
};

enum class TDibReadResult { drComplete, drTruncated, drCancelled };

// Decodes the pixel data at the stream's position into `bitmap`, which has the
// header's size and a format from DibPixelFormat: stored rows bottom-up (top-down
// for a negative height), or RLE data of at most `rleBytes` bytes (0: up to the
// end of the stream). `onRow` hears the rows done before each stored row and at
// each RLE end of line; false cancels. Rows not reached are white.
TDibReadResult ReadDibPixels(TIEStream& s, const TDibHeader& h, TIEWorkingBitmap& bitmap, int64_t rleBytes = 0,
                             const TDibRleRowEvent& onRow = {});

inline bool IsDibRle(const TDibHeader& h) { return h.Compression == dcRLE8 || h.Compression == dcRLE4; }

}  // namespace quillet
