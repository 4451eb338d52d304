// The pixel memory of a working bitmap: one block from the C heap, either
// zeroed (calloc, whose large blocks arrive as untouched zero pages) or left
// uninitialised for a writer that fills every byte before anything reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace quillet {

class TPixelBuffer {
 public:
  enum class TInit { Zeroed, Uninitialised };

  TPixelBuffer() = default;
  // Throws std::bad_alloc when the memory cannot be had.
  TPixelBuffer(size_t size, TInit init) : size_(size) {
    if (size == 0) return;
    data_.reset(static_cast<uint8_t*>(init == TInit::Zeroed ? std::calloc(size, 1) : std::malloc(size)));
    if (!data_) throw std::bad_alloc();
  }
  TPixelBuffer(const TPixelBuffer& other) : TPixelBuffer(other.size_, TInit::Uninitialised) {
    if (size_) std::memcpy(data_.get(), other.data_.get(), size_);
  }
  TPixelBuffer(TPixelBuffer&& other) noexcept : data_(std::move(other.data_)), size_(other.size_) { other.size_ = 0; }
  TPixelBuffer& operator=(TPixelBuffer other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }

  uint8_t* data() { return data_.get(); }
  const uint8_t* data() const { return data_.get(); }
  size_t size() const { return size_; }

 private:
  struct TFree {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<uint8_t, TFree> data_;
  size_t size_ = 0;
};

}  // namespace quillet
