#include "imaging/io/formats/pcx/pcx_rle.h"

#include <algorithm>
#include <cstring>

namespace quillet {

bool TPcxLineDecoder::Line(uint8_t* out, int64_t count) {
  if (!rle_) {
    const int64_t have = std::min<int64_t>(count, end_ - p_);
    if (have > 0) std::memcpy(out, p_, size_t(have));  // an empty data block has no address
    std::memset(out + have, 0, size_t(count - have));
    p_ += have;
    return have == count;
  }
  int64_t at = 0;
  while (at < count) {
    if (run_ > 0) {
      const int64_t n = std::min<int64_t>(run_, count - at);
      std::memset(out + at, value_, size_t(n));
      at += n;
      run_ -= int(n);
      continue;
    }
    if (p_ == end_) break;
    const uint8_t b = *p_++;
    if (b < 0xC0) {
      out[at++] = b;
      continue;
    }
    if (p_ == end_) break;
    run_ = b & 0x3F;
    value_ = *p_++;
  }
  std::memset(out + at, 0, size_t(count - at));
  return at == count;
}

}  // namespace quillet
