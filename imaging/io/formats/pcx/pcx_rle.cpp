#include "imaging/io/formats/pcx/pcx_rle.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

// Most runs of a photograph are one escaped byte: a call to memset costs more.
void PutRun(uint8_t* out, uint8_t value, int64_t n) {
  if (n > 8) return void(std::memset(out, value, size_t(n)));
  for (int64_t i = 0; i < n; ++i) out[i] = value;
}

}  // namespace

bool TPcxLineDecoder::Line(uint8_t* out, int64_t count) {
  // The input's window, held in locals for the loop and handed back at the end.
  const uint8_t* p = in_.Begin();
  const uint8_t* end = in_.End();
  const auto refill = [&] {
    in_.Consume(p);
    const bool more = in_.Refill();
    p = in_.Begin(), end = in_.End();
    return more;
  };
  int64_t at = 0;
  while (at < count) {
    if (run_ > 0) {
      const int64_t n = std::min<int64_t>(run_, count - at);
      PutRun(out + at, value_, n);
      at += n;
      run_ -= int(n);
      continue;
    }
    if (p == end && !refill()) break;
    const int64_t limit = std::min<int64_t>(count - at, end - p);
    if (!rle_) {
      std::memcpy(out + at, p, size_t(limit));
      at += limit, p += limit;
      continue;
    }
    int64_t i = 0;
    while (i < limit && p[i] < 0xC0) out[at + i] = p[i], ++i;
    at += i, p += i;
    if (i == limit) continue;
    const uint8_t counter = *p++;
    if (p == end && !refill()) break;
    run_ = counter & 0x3F;
    value_ = *p++;
  }
  in_.Consume(p);
  std::memset(out + at, 0, size_t(count - at));
  return at == count;
}

}  // namespace quillet
