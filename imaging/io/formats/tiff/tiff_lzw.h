// The LZW coders of TIFF strips (codes most significant bit first, the code
// width growing one code early), as the procedures of the coder slots.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/core/engine_settings.h"

namespace quillet {

// The next row of the strip `data` (the same bytes at every call), or
// nullptr when the strip holds no more rows or is corrupt. A call without
// data releases the state.
const uint8_t* TiffLzwDecodeRow(const uint8_t* data, int64_t size, int64_t rowLength,
                                std::unique_ptr<TTiffLzwState>& state);

// Adds one row to the code stream written to `stream`, starting it at the
// first call; a call without data ends the code stream and releases the state.
void TiffLzwEncodeRow(const uint8_t* row, int64_t count, TIEStream& stream, std::unique_ptr<TTiffLzwState>& state);

}  // namespace quillet
