#include "imaging/io/bounded_input.h"

#include <algorithm>
#include <cstring>

namespace quillet {

int64_t TBoundedInput::StreamLeft() const { return std::max<int64_t>(0, end_ - stream_.Position()); }

bool TBoundedInput::Refill() {
  const int64_t want = std::min(int64_t(buffer_.size()), StreamLeft());
  size_ = want > 0 ? std::max<int64_t>(0, stream_.Read(buffer_.data(), want)) : 0;
  at_ = buffer_.data();
  return size_ > 0;
}

int64_t TBoundedInput::Read(uint8_t* out, int64_t count) {
  int64_t done = std::min<int64_t>(count, End() - at_);
  if (done > 0) std::memcpy(out, at_, size_t(done));
  at_ += done;
  // Long reads, such as whole rows, go straight from the stream to `out`.
  if (count - done >= int64_t(buffer_.size()))
    return done + std::max<int64_t>(0, stream_.Read(out + done, std::min(count - done, StreamLeft())));
  while (done < count && Refill()) {
    const int64_t n = std::min(count - done, size_);
    std::memcpy(out + done, at_, size_t(n));
    at_ += n;
    done += n;
  }
  return done;
}

bool TBoundedInput::Skip(int64_t count) {
  const int64_t buffered = std::min<int64_t>(count, End() - at_);
  at_ += buffered;
  count -= buffered;
  if (count == 0) return true;
  if (count > StreamLeft()) return false;
  stream_.Seek(count, TSeekOrigin::soCurrent);
  return true;
}

}  // namespace quillet
