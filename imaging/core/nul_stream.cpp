// The counting stream.
#include "imaging/core/nul_stream.h"

#include <algorithm>

namespace quillet {

int64_t TNulStream::Advance(int64_t count) {
  if (count <= 0) return 0;
  position_ += count;
  size_ = std::max(size_, position_);
  return count;
}

int64_t TNulStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case TSeekOrigin::soBeginning: position_ = offset; break;
    case TSeekOrigin::soCurrent: position_ += offset; break;
    case TSeekOrigin::soEnd: position_ = std::max<int64_t>(size_ - offset, 0); return position_;
  }
  position_ = std::max<int64_t>(position_, 0);
  size_ = std::max(size_, position_);
  return position_;
}

}  // namespace quillet
