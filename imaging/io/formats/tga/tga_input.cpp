#include "imaging/io/formats/tga/tga_input.h"

#include <algorithm>
#include <cstring>

namespace quillet {

int64_t TTgaInput::StreamLeft() { return std::max<int64_t>(0, end_ - stream_.Position()); }

bool TTgaInput::Refill() {
  at_ = 0;
  size_ = std::max<int64_t>(0, stream_.Read(buffer_.data(), std::min(kBufferBytes, StreamLeft())));
  return size_ > 0;
}

int64_t TTgaInput::Read(uint8_t* out, int64_t count) {
  int64_t done = std::min(count, size_ - at_);
  if (done > 0) std::memcpy(out, buffer_.data() + at_, size_t(done));
  at_ += done;
  // Long reads, such as whole rows, go straight from the stream to `out`.
  if (count - done >= kBufferBytes)
    return done + std::max<int64_t>(0, stream_.Read(out + done, std::min(count - done, StreamLeft())));
  while (done < count && Refill()) {
    const int64_t n = std::min(count - done, size_);
    std::memcpy(out + done, buffer_.data(), size_t(n));
    at_ = n;
    done += n;
  }
  return done;
}

bool TTgaInput::Skip(int64_t count) {
  const int64_t buffered = std::min(count, size_ - at_);
  at_ += buffered;
  count -= buffered;
  if (count == 0) return true;
  if (count > StreamLeft()) return false;
  stream_.Seek(count, TSeekOrigin::soCurrent);
  return true;
}

}  // namespace quillet
