// PackBits run-length coding of TIFF rows.
#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

// Decodes one row of `size` bytes from `*src` (advanced past what it used,
// never past `end`); a run that would pass the row's end stops there. False
// when the data ended before the row was full.
bool UnpackBitsRow(const uint8_t*& src, const uint8_t* end, uint8_t* row, int64_t size);

// Appends the coded row: runs of 4 to 128 equal bytes as runs, the rest as
// literals of at most 128 bytes.
void PackBitsRow(const uint8_t* row, int64_t size, std::vector<uint8_t>& out);

}  // namespace quillet
