// The block structure of GIF files: the header with the logical screen and
// its colour table, and the walk over extensions and images up to the trailer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "imaging/core/palette_table.h"
#include "imaging/core/stream.h"

namespace quillet {

// The 13 bytes of header and logical screen, and the global colour table.
struct TGifScreen {
  std::string Version;  // the first six characters
  uint16_t Width = 0, Height = 0;
  uint8_t Packed = 0, BackgroundIndex = 0, AspectRatio = 0;
  bool HasTable = false;
  int TableBits = 0;  // table size bits + 1: the table has 2^TableBits entries
  TPaletteTable Table;
};

// The graphic control extension that went before an image.
struct TGifControl {
  bool Present = false;
  uint8_t Packed = 0;  // bit 0: a transparent index is given
  uint16_t Delay = 0;  // hundredths of a second
  uint8_t TransparentIndex = 0;
};

// An image descriptor with its local table and control extension; the
// stream is at the image's data (the LZW minimum code size byte).
struct TGifImage {
  int64_t Index = 0;
  uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
  uint8_t Packed = 0;
  bool HasTable = false;
  int TableBits = 0;
  TPaletteTable Table;  // the local table when there is one
  TGifControl Control;
  bool Interlaced() const { return Packed & 0x40; }
};

// What a visitor did with an image: left its data to be skipped, read the
// data itself (the stream is after the terminator), or stopped the walk.
enum class TGifVisit { gvSkipData, gvDataRead, gvStop };

// Reads the header and the global table. False when the data does not begin
// with "GIF" or ends inside the 13 bytes; a table cut short keeps what was there.
bool ReadGifScreen(TIEStream& stream, TGifScreen& screen);

// Walks the blocks from the stream's position to the trailer, the end of the
// data or a block that runs past it, and gives every image to `visit`.
// Returns the number of images met (the one a visitor stopped at included).
int64_t WalkGifBlocks(TIEStream& stream, const std::function<TGifVisit(TGifImage&)>& visit);

// Skips data sub-blocks up to the 0 terminator; false when the data ends first.
bool SkipGifSubBlocks(TIEStream& stream);

}  // namespace quillet
