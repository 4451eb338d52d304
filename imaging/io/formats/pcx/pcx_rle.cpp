#include "imaging/io/formats/pcx/pcx_rle.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

constexpr int64_t kBlockBytes = 65536;

// Most runs of a photograph are one escaped byte: a call to memset costs more.
void PutRun(uint8_t* out, uint8_t value, int64_t n) {
  if (n > 8) return void(std::memset(out, value, size_t(n)));
  for (int64_t i = 0; i < n; ++i) out[i] = value;
}

}  // namespace

bool TPcxLineDecoder::Refill() {
  if (left_ <= 0) return false;
  buffer_.resize(size_t(std::min(left_, kBlockBytes)));
  const int64_t got = std::max<int64_t>(0, stream_.Read(buffer_.data(), int64_t(buffer_.size())));
  left_ = got < int64_t(buffer_.size()) ? 0 : left_ - got;
  p_ = buffer_.data();
  end_ = p_ + got;
  return got > 0;
}

bool TPcxLineDecoder::Line(uint8_t* out, int64_t count) {
  int64_t at = 0;
  while (at < count) {
    if (run_ > 0) {
      const int64_t n = std::min<int64_t>(run_, count - at);
      PutRun(out + at, value_, n);
      at += n;
      run_ -= int(n);
      continue;
    }
    if (p_ == end_ && !Refill()) break;
    const int64_t limit = std::min<int64_t>(count - at, end_ - p_);
    if (!rle_) {
      std::memcpy(out + at, p_, size_t(limit));
      at += limit, p_ += limit;
      continue;
    }
    int64_t i = 0;
    while (i < limit && p_[i] < 0xC0) out[at + i] = p_[i], ++i;
    at += i, p_ += i;
    if (i == limit) continue;
    const uint8_t counter = *p_++;
    if (p_ == end_ && !Refill()) break;
    run_ = counter & 0x3F;
    value_ = *p_++;
  }
  std::memset(out + at, 0, size_t(count - at));
  return at == count;
}

}  // namespace quillet
