// The TIFF structure over a stream: the header, the directory chain with its
// guards against cycles, and the entries of one directory with the rules
// that read their values in the file's byte order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/core/stream.h"

namespace quillet {

// Random access to the TIFF data that starts at the stream position given;
// every offset counts from there and is checked against the data's end.
class TTiffFile {
 public:
  TTiffFile(TIEStream& stream, int64_t base, int64_t size) : stream_(stream), base_(base), size_(size) {}

  // Reads the byte order and the number 42; false for anything else.
  bool ReadHeader();
  bool BigEndian() const { return bigEndian_; }
  uint32_t FirstDirectory() const { return first_; }
  int64_t Size() const { return size_; }
  TIEStream& Stream() { return stream_; }
  int64_t Base() const { return base_; }

  // False when any byte of [offset, offset + count) lies outside the data.
  bool ReadAt(int64_t offset, void* buffer, int64_t count);
  bool Contains(int64_t offset, int64_t count) const { return offset >= 0 && count >= 0 && offset <= size_ - count; }

  uint16_t U16(const uint8_t* p) const { return bigEndian_ ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]); }
  uint32_t U32(const uint8_t* p) const {
    return bigEndian_ ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                      : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  }

 private:
  TIEStream& stream_;
  int64_t base_, size_;
  bool bigEndian_ = false;
  uint32_t first_ = 0;
};

// What walking the directory chain found.
struct TTiffChain {
  int32_t Count = 0;      // directories in the chain
  int64_t Selected = -1;  // offset of the directory asked for, or -1
  // Where the next-directory link of the directory asked for (the last one
  // when the chain is shorter) lies, and the value it holds.
  int64_t LinkPosition = -1;
  uint32_t LinkValue = 0;
};

// Walks the chain from the first directory, stopping at a directory seen
// before, at one outside the data, or after 65,536 directories. `index` < 0
// selects none.
TTiffChain WalkDirectories(TTiffFile& file, int64_t index);

struct TTiffEntry {
  uint16_t Tag = 0, Type = 0;
  uint32_t Count = 0;
  uint8_t Value[4] = {};
};

// The entries of one directory and the ways to read them.
class TTiffDirectory {
 public:
  // False when the directory does not lie inside the data.
  bool Read(TTiffFile& file, int64_t offset);

  const TTiffEntry* Find(uint16_t tag) const;
  bool Has(uint16_t tag) const { return Find(tag) != nullptr; }
  // A SHORT's first two bytes, else the whole value field.
  uint32_t Int(uint16_t tag, uint32_t fallback) const;
  // Numerator / denominator at the offset (a zero denominator counts as 1).
  double Rational(uint16_t tag, double fallback) const;
  // Integer elements: SHORT or LONG, in the field or at its offset; empty
  // when they do not lie in the data.
  std::vector<uint32_t> Ints(uint16_t tag) const;
  // RATIONAL elements at the offset; whole-number types give their values.
  std::vector<double> Rationals(uint16_t tag) const;
  // The stored bytes up to the first zero.
  std::string Text(uint16_t tag) const;
  TTiffFile& File() const { return *file_; }

 private:
  // The bytes of an entry's value, in the field or at its offset.
  bool Bytes(const TTiffEntry& e, int64_t size, std::vector<uint8_t>& out) const;

  TTiffFile* file_ = nullptr;
  std::vector<TTiffEntry> entries_;
};

}  // namespace quillet
