// The byte array and its capacity rule.
#include "imaging/core/byte_array.h"

#include <algorithm>
#include <cstring>

namespace quillet {

TIEByteArray::TIEByteArray() { Reallocate(growth_); }

TIEByteArray::TIEByteArray(const TIEByteArray& other) : growth_(other.growth_) {
  Reallocate(other.capacity_);
  size_ = other.size_;
  if (size_ > 0) std::memcpy(data_.get(), other.data_.get(), size_t(size_));
}

TIEByteArray& TIEByteArray::operator=(const TIEByteArray& other) {
  if (this != &other) {
    TIEByteArray copy(other);
    std::swap(size_, copy.size_);
    std::swap(capacity_, copy.capacity_);
    std::swap(growth_, copy.growth_);
    std::swap(data_, copy.data_);
  }
  return *this;
}

void TIEByteArray::Reallocate(int64_t capacity) {
  std::unique_ptr<uint8_t[]> fresh(new uint8_t[size_t(capacity)]);
  const int64_t keep = std::min(size_, capacity);
  if (keep > 0) std::memcpy(fresh.get(), data_.get(), size_t(keep));
  data_ = std::move(fresh);
  capacity_ = capacity;
}

void TIEByteArray::SetSize(int64_t n) {
  if (n < 0) return;
  if (n > capacity_ || n < capacity_ - growth_) Reallocate(n + growth_);
  size_ = n;
}

void TIEByteArray::Append(uint8_t value) {
  SetSize(size_ + 1);
  data_[size_t(size_ - 1)] = value;
}

void TIEByteArray::Append(const void* bytes, int64_t count) {
  if (count <= 0 || !bytes) return;
  const int64_t at = size_;
  SetSize(size_ + count);
  std::memmove(data_.get() + at, bytes, size_t(count));
}

int64_t TIEByteArray::AppendFromStream(TIEStream& stream, int64_t n) {
  if (n <= 0) return 0;
  // Never ask for more room than the stream can give when it knows its size.
  const int64_t left = stream.Remaining();
  if (left >= 0 && left < n) n = left;
  if (n <= 0) return 0;
  const int64_t at = size_;
  SetSize(size_ + n);
  const int64_t got = std::clamp<int64_t>(stream.Read(data_.get() + at, n), 0, n);
  SetSize(at + got);
  return got;
}

}  // namespace quillet
