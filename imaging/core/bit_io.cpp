// The out-of-line parts of the bit readers: skipping whole stretches.
#include "imaging/core/bit_io.h"

namespace quillet {

namespace {

// Skips n bits of a reader: the accumulator first, then whole bytes, then the rest.
template <class Reader>
bool SkipIn(Reader& r, int64_t n, const uint8_t*& p, const int& count) {
  if (n <= 0) return n == 0;
  const bool enough = n <= r.BitsLeft();
  if (!enough) n = r.BitsLeft();
  uint32_t dummy;
  while (n > 0 && count > 0) {
    const int step = int(n < count ? n : count);
    r.ReadBits(step, dummy);
    n -= step;
  }
  const int64_t bytes = n / 8;
  p += bytes;
  n -= bytes * 8;
  if (n > 0) r.ReadBits(int(n), dummy);
  return enough;
}

}  // namespace

bool TIEBitReaderLSB::SkipBits(int64_t n) {
  if (n > BitsLeft()) exhausted_ = true;
  return SkipIn(*this, n, p_, count_);
}

bool TIEBitReaderMSB::SkipBits(int64_t n) {
  if (n > BitsLeft()) exhausted_ = true;
  return SkipIn(*this, n, p_, count_);
}

}  // namespace quillet
