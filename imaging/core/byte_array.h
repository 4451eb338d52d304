// TIEByteArray: a growable byte block whose capacity moves in steps of
// Growth (8192), so that appending byte by byte reallocates rarely.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/core/stream.h"

namespace quillet {

class TIEByteArray {
 public:
  TIEByteArray();
  TIEByteArray(const TIEByteArray& other);
  TIEByteArray& operator=(const TIEByteArray& other);

  int64_t Size() const { return size_; }
  int64_t Capacity() const { return capacity_; }
  int64_t Growth() const { return growth_; }
  void SetGrowth(int64_t growth) { growth_ = growth > 0 ? growth : 1; }
  uint8_t* Data() { return data_.get(); }
  const uint8_t* Data() const { return data_.get(); }

  // Growing beyond Capacity reallocates to n + Growth; shrinking below
  // Capacity - Growth reallocates to n + Growth; otherwise only Size changes.
  // Negative n is ignored. Throws std::bad_alloc when memory runs out.
  void SetSize(int64_t n);
  void Append(uint8_t value);
  void Append(const void* bytes, int64_t count);
  // Reads up to n bytes from the stream at its position; Size grows by what
  // was really read, which is returned.
  int64_t AppendFromStream(TIEStream& stream, int64_t n);
  void Clear() { SetSize(0); }

 private:
  void Reallocate(int64_t capacity);

  int64_t size_ = 0, capacity_ = 0, growth_ = 8192;
  std::unique_ptr<uint8_t[]> data_;
};

}  // namespace quillet
