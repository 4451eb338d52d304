// Buffered input of Targa data: the stream is read 8192 bytes at a time up
// to a limit, and bytes are handed out from the buffer.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/core/stream.h"

namespace quillet {

class TTgaInput {
 public:
  // Reads `stream` from its position up to `end` (an absolute position).
  TTgaInput(TIEStream& stream, int64_t end) : stream_(stream), end_(end) {}

  // Copies up to `count` bytes to `out`; returns how many there were.
  int64_t Read(uint8_t* out, int64_t count);
  // Skips up to `count` bytes; false when the data ended first.
  bool Skip(int64_t count);
  bool Byte(uint8_t& b) {
    if (at_ == size_ && !Refill()) return false;
    b = buffer_[size_t(at_++)];
    return true;
  }

 private:
  bool Refill();
  int64_t StreamLeft();

  static constexpr int64_t kBufferBytes = 8192;
  TIEStream& stream_;
  int64_t end_;
  std::array<uint8_t, kBufferBytes> buffer_{};
  int64_t at_ = 0, size_ = 0;
};

}  // namespace quillet
