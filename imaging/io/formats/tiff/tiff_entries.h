// The directory of a written TIFF page: entries collected in any order,
// their out-of-line values written in two groups (before and after the
// pixel data), then the directory in ascending tag order. Little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/core/stream.h"

namespace quillet {

class TTiffEntries {
 public:
  // `before`: an out-of-line value goes in front of the pixel data.
  void Shorts(uint16_t tag, const std::vector<uint16_t>& values, bool before = true);
  void Long(uint16_t tag, uint32_t value);
  void Rational(uint16_t tag, uint32_t numerator, uint32_t denominator);
  void Ascii(uint16_t tag, const std::string& text, bool before);
  // Changes the value of a LONG entry added before.
  void SetLong(uint16_t tag, uint32_t value);

  // Writes the out-of-line values of one group at the stream position, each
  // at an even offset from `base`; false when an offset passes 32 bits.
  bool WriteValues(TIEStream& stream, int64_t base, bool before);
  // Writes the directory at an even offset; its offset from `base`, or -1
  // when it passes 32 bits.
  int64_t WriteDirectory(TIEStream& stream, int64_t base, uint32_t next);

 private:
  struct TEntry {
    uint16_t tag = 0, type = 0;
    uint32_t count = 0;
    std::vector<uint8_t> bytes;
    bool before = true;
    uint32_t offset = 0;
  };
  void Add(uint16_t tag, uint16_t type, uint32_t count, std::vector<uint8_t> bytes, bool before);

  std::vector<TEntry> entries_;
};

// Pads the stream to an even offset from `base`.
void PadToWord(TIEStream& stream, int64_t base);

}  // namespace quillet
