// The palette lookup every palette decoder goes through: always 256 entries,
// so an index past the entries a file stores reads black, never past the table.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/core/colors.h"
#include "imaging/core/stream.h"

namespace quillet {

struct TPaletteTable {
  std::array<TBGR, 256> Colors{};  // missing entries stay black
  int Count = 0;                   // entries the file really gave

  bool IsBlackWhite() const { return Count == 2 && Colors[0] == kBlack && Colors[1] == kWhite; }
  bool IsWhiteBlack() const { return Count == 2 && Colors[0] == kWhite && Colors[1] == kBlack; }
};

// Reads `count` entries of `entrySize` bytes (3: blue, green, red; 4: plus a
// reserved byte). Entries past 256 are skipped. False when the data ends early.
bool ReadPaletteEntries(TIEStream& stream, int64_t count, int entrySize, TPaletteTable& table);

}  // namespace quillet
