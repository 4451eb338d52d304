// Buffered input of codec data: the stream is read a block at a time up to an
// end position, and bytes are handed out from the buffer. Tight decoding loops
// may work on the buffered window directly.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/core/stream.h"

namespace quillet {

class TBoundedInput {
 public:
  // Reads `stream` from its position up to `end` (an absolute position),
  // `blockBytes` at a time.
  TBoundedInput(TIEStream& stream, int64_t end, int64_t blockBytes)
      : stream_(stream), end_(end), buffer_(size_t(blockBytes)) {}
  TBoundedInput(const TBoundedInput&) = delete;
  TBoundedInput& operator=(const TBoundedInput&) = delete;

  // Copies up to `count` bytes to `out`; returns how many there were.
  int64_t Read(uint8_t* out, int64_t count);
  // Skips up to `count` bytes; false when the data ended first.
  bool Skip(int64_t count);
  bool Byte(uint8_t& b) {
    if (at_ == end() && !Refill()) return false;
    b = *at_++;
    return true;
  }

  // The buffered bytes not yet consumed: [Begin(), End()). Consume moves
  // Begin() to `p`; Refill replaces an empty window with the next block and
  // is false at the end of the data.
  const uint8_t* Begin() const { return at_; }
  const uint8_t* End() const { return end(); }
  void Consume(const uint8_t* p) { at_ = p; }
  bool Refill();

 private:
  const uint8_t* end() const { return buffer_.data() + size_; }
  int64_t StreamLeft() const;

  TIEStream& stream_;
  int64_t end_;
  std::vector<uint8_t> buffer_;
  const uint8_t* at_ = buffer_.data();
  int64_t size_ = 0;
};

}  // namespace quillet
