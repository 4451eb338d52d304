// TNulStream: a stream that stores nothing and only counts, used to measure
// how many bytes an encoder would write (the estimated file size).
#pragma once

#include "imaging/core/stream.h"

namespace quillet {

class TNulStream : public TIEStream {
 public:
  // Both move Position by the count (negative counts as 0), raise Size to
  // Position and return the count; Read leaves the buffer untouched.
  int64_t Read(void* buf, int64_t count) override { return Advance(count); }
  int64_t Write(const void* buf, int64_t count) override { return Advance(count); }
  // From the start or the current position Size follows Position upward; from
  // the end Position = Size - offset and Size is unchanged. Never below 0.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Position() override { return position_; }
  int64_t Size() override { return size_; }

 private:
  int64_t Advance(int64_t count);

  int64_t position_ = 0, size_ = 0;
};

}  // namespace quillet
