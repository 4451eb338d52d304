// Bit readers and writers of the codecs over byte buffers: LSB-first order
// (GIF LZW) and MSB-first order (TIFF LZW, CCITT), with a 64-bit accumulator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillet {

// Reads codes whose first bit is the lowest bit of the first byte (GIF).
// Never reads outside [data, data + size).
class TIEBitReaderLSB {
 public:
  TIEBitReaderLSB(const uint8_t* data, size_t size) : p_(data), end_(data + (data ? size : 0)) {}

  // n = 0..32 bits. False, with value 0 and nothing consumed, when fewer than
  // n bits are left; Exhausted() then stays true.
  bool ReadBits(int n, uint32_t& value) {
    if (n <= 0) return value = 0, n == 0;
    if (n > 32 || !Fill(n)) return value = 0, exhausted_ = true, false;
    value = uint32_t(acc_ & ((uint64_t(1) << n) - 1));
    acc_ >>= n;
    count_ -= n;
    return true;
  }
  // The next n (0..32) bits, zero past the end of the data.
  uint32_t PeekBits(int n) {
    if (n <= 0 || n > 32) return 0;
    Fill(n);
    return uint32_t(acc_ & ((uint64_t(1) << n) - 1));
  }
  // Skips n bits (at most those left); false when fewer were left.
  bool SkipBits(int64_t n);
  // Drops the bits left in the current byte.
  void AlignToByte() { SkipBits(count_ & 7); }

  int64_t BitsLeft() const { return count_ + int64_t(end_ - p_) * 8; }
  bool AtEnd() const { return BitsLeft() == 0; }
  bool Exhausted() const { return exhausted_; }

 private:
  // Ensures at least n bits in the accumulator when the data has them.
  bool Fill(int n) {
    while (count_ < n) {
      if (p_ == end_) return false;
      acc_ |= uint64_t(*p_++) << count_;
      count_ += 8;
    }
    return true;
  }

  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t acc_ = 0;
  int count_ = 0;
  bool exhausted_ = false;
};

// Reads codes whose first bit is the highest bit of the first byte (TIFF).
class TIEBitReaderMSB {
 public:
  TIEBitReaderMSB(const uint8_t* data, size_t size) : p_(data), end_(data + (data ? size : 0)) {}

  bool ReadBits(int n, uint32_t& value) {
    if (n <= 0) return value = 0, n == 0;
    if (n > 32 || !Fill(n)) return value = 0, exhausted_ = true, false;
    value = uint32_t(acc_ >> (64 - n));
    acc_ <<= n;
    count_ -= n;
    return true;
  }
  uint32_t PeekBits(int n) {
    if (n <= 0 || n > 32) return 0;
    Fill(n);
    return uint32_t(acc_ >> (64 - n));
  }
  bool SkipBits(int64_t n);
  void AlignToByte() { SkipBits(count_ & 7); }

  int64_t BitsLeft() const { return count_ + int64_t(end_ - p_) * 8; }
  bool AtEnd() const { return BitsLeft() == 0; }
  bool Exhausted() const { return exhausted_; }

 private:
  // The accumulator holds its bits at the top, the next bit in bit 63.
  bool Fill(int n) {
    while (count_ < n) {
      if (p_ == end_) return false;
      acc_ |= uint64_t(*p_++) << (56 - count_);
      count_ += 8;
    }
    return true;
  }

  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t acc_ = 0;
  int count_ = 0;
  bool exhausted_ = false;
};

// Appends codes to `out`, first bit in the lowest bit of each byte (GIF).
class TIEBitWriterLSB {
 public:
  explicit TIEBitWriterLSB(std::vector<uint8_t>& out) : out_(out) {}

  // The low n (0..32) bits of value.
  void WriteBits(uint32_t value, int n) {
    if (n <= 0 || n > 32) return;
    acc_ |= (uint64_t(value) & ((uint64_t(1) << n) - 1)) << count_;
    count_ += n;
    bits_ += n;
    while (count_ >= 8) {
      out_.push_back(uint8_t(acc_));
      acc_ >>= 8;
      count_ -= 8;
    }
  }
  // Writes the last partial byte, zero filled; the writer can go on after it.
  void Flush() {
    if (count_ > 0) {
      out_.push_back(uint8_t(acc_));
      bits_ += 8 - count_;
    }
    acc_ = 0;
    count_ = 0;
  }
  // Bits written so far, the padding of flushes included.
  int64_t BitCount() const { return bits_; }

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  int count_ = 0;
  int64_t bits_ = 0;
};

// Appends codes to `out`, first bit in the highest bit of each byte (TIFF).
class TIEBitWriterMSB {
 public:
  explicit TIEBitWriterMSB(std::vector<uint8_t>& out) : out_(out) {}

  void WriteBits(uint32_t value, int n) {
    if (n <= 0 || n > 32) return;
    acc_ = acc_ << n | (uint64_t(value) & ((uint64_t(1) << n) - 1));
    count_ += n;
    bits_ += n;
    while (count_ >= 8) {
      count_ -= 8;
      out_.push_back(uint8_t(acc_ >> count_));
    }
  }
  void Flush() {
    if (count_ > 0) {
      out_.push_back(uint8_t(acc_ << (8 - count_)));
      bits_ += 8 - count_;
    }
    acc_ = 0;
    count_ = 0;
  }
  int64_t BitCount() const { return bits_; }

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;  // the low count_ bits are pending
  int count_ = 0;
  int64_t bits_ = 0;
};

}  // namespace quillet
