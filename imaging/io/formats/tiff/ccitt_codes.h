// The run-length codes of the T.4 recommendation (white and black
// terminating and make-up codes, the common long make-up codes, EOL) and
// the decoding tables built from them.
#pragma once

#include <cstdint>
#include <span>

namespace quillet {

constexpr int kCcittPeekBits = 13;  // the longest code has 13 bits

// A code as bits most significant first: `Length` bits of `Bits`.
struct TCcittCode {
  uint16_t Bits = 0;
  uint8_t Length = 0;
};

// What the next kCcittPeekBits bits start with.
struct TCcittLookup {
  int16_t Run = -1;  // the run length, -1: no code, -2: EOL
  uint8_t Length = 0;
};
constexpr int16_t kCcittNoCode = -1, kCcittEol = -2;

// The decoding table of white (black = false) or black runs, indexed by the
// next kCcittPeekBits bits.
std::span<const TCcittLookup> CcittRunTable(bool black);

// The terminating code of a run of 0..63 and the make-up code of a multiple
// of 64 up to 2560.
TCcittCode CcittTerminatingCode(bool black, int run);
TCcittCode CcittMakeUpCode(bool black, int run);

constexpr TCcittCode kCcittEolCode{1, 12};

}  // namespace quillet
