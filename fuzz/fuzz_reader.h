// How the fuzz targets read their input: bytes, whole numbers that are
// mostly small and sometimes anything, reals, colours and short texts; zeros
// once the input is used up.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "imaging/core/colors.h"

namespace quillet::fuzz {

class TReader {
 public:
  TReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool More() const { return pos_ < size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  int32_t Int() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
    return int32_t(v);
  }
  // Mostly within -20..43, sometimes any 32-bit value.
  int32_t Small() {
    const uint8_t how = Byte();
    return (how & 3) == 0 ? Int() : int32_t(how >> 2) - 20;
  }
  // Mostly 1 to 8.9, sometimes any double (infinities and NaN included).
  double Real() {
    const uint8_t how = Byte();
    if ((how & 3) != 0) return 1 + (how >> 2) / 8.0;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = bits << 8 | Byte();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  TBGR Color() { return {Byte(), Byte(), Byte()}; }
  std::string Bytes(size_t most) {
    std::string text(Byte() % (most + 1), '\0');
    for (char& c : text) c = char(Byte());
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_, pos_ = 0;
};

}  // namespace quillet::fuzz
