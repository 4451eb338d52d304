// The TIFF LZW decoder: every table entry keeps the first eight bytes of its
// string, so short strings are written with one store and long ones walk
// their chain only past those eight bytes. Rows are decoded ahead, twice as
// many at each refill up to 50, so that strips of one row stay cheap.
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "imaging/io/formats/tiff/tiff_lzw.h"

namespace quillet {

namespace {

static_assert(std::endian::native == std::endian::little, "the string heads are stored as little-endian words");

constexpr uint32_t kClear = 256, kEnd = 257, kFirstFree = 258, kTableSize = 4096;
constexpr int64_t kMaxString = kTableSize;  // no string is longer than the table
constexpr int64_t kBufferedBytes = int64_t(16) << 20;

// Entries above the literals are written before they are read, so the
// table starts uninitialised.
struct TEntry {
  uint64_t head;  // the first min(length, 8) bytes
  uint16_t prefix;
  uint16_t length;
  uint8_t last, first;
};

class TDecoder : public TTiffLzwState {
 public:
  TDecoder(const uint8_t* data, int64_t size, int64_t rowLength)
      : p_(data),
        end_(data + size),
        rowLength_(rowLength),
        maxTarget_(rowLength * std::clamp<int64_t>(kBufferedBytes / rowLength, 1, 50)) {
    for (uint32_t i = 0; i < 256; ++i) table_[i] = {i, 0, 1, uint8_t(i), uint8_t(i)};
    Reset();
  }

  const uint8_t* NextRow() {
    if (filled_ - read_ < rowLength_) {
      target_ = std::min(std::max(2 * target_, rowLength_), maxTarget_);
      out_.resize(size_t(target_ + kMaxString + 8));
      std::memmove(out_.data(), out_.data() + read_, size_t(filled_ - read_));
      filled_ -= read_;
      read_ = 0;
      if (!done_) Decode();
      if (filled_ < rowLength_) return nullptr;
    }
    const uint8_t* row = out_.data() + read_;
    read_ += rowLength_;
    return row;
  }

 private:
  void Reset() {
    next_ = kFirstFree;
    width_ = 9;
    prev_ = -1;
  }

  // Writes the string of `code` at the end of the output.
  void Put(uint32_t code) {
    uint8_t* dst = out_.data() + filled_;
    const TEntry* e = &table_[code];
    const int64_t length = e->length;
    if (length > 8) {
      uint8_t* q = dst + length - 1;
      while (e->length > 8) {
        *q-- = e->last;
        e = &table_[e->prefix];
      }
    }
    std::memcpy(dst, &e->head, 8);
    filled_ += length;
  }

  // A new entry: the previous string and `byte`. False when the table is full.
  bool Add(uint8_t byte) {
    if (next_ >= kTableSize) return false;
    const TEntry& p = table_[prev_];
    TEntry& e = table_[next_];
    e.prefix = uint16_t(prev_);
    e.length = uint16_t(p.length + 1);
    e.first = p.first;
    e.last = byte;
    e.head = p.length < 8 ? p.head | uint64_t(byte) << (8 * p.length) : p.head;
    ++next_;
    if (next_ == 511 || next_ == 1023 || next_ == 2047) ++width_;
    return true;
  }

  // The next code, most significant bit first; false at the end of the data.
  bool ReadCode(uint32_t& code) {
    if (count_ < width_) {
      while (count_ <= 56 && p_ < end_) acc_ |= uint64_t(*p_++) << (56 - count_), count_ += 8;
      if (count_ < width_) return false;
    }
    code = uint32_t(acc_ >> (64 - width_));
    acc_ <<= width_;
    count_ -= width_;
    return true;
  }

  void Decode() {
    uint32_t code = 0;
    while (filled_ < target_) {
      if (!ReadCode(code) || code == kEnd) return void(done_ = true);
      if (code == kClear) {
        Reset();
        continue;
      }
      if (prev_ < 0) {
        if (code >= 256) return void(done_ = true);
        Put(code);
      } else if (code < next_) {
        Put(code);
        if (!Add(table_[code].first)) return void(done_ = true);
      } else if (code == next_) {
        const uint8_t first = table_[prev_].first;
        Put(uint32_t(prev_));
        out_[size_t(filled_++)] = first;
        if (!Add(first)) return void(done_ = true);
      } else {
        return void(done_ = true);
      }
      prev_ = int32_t(code);
    }
  }

  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t acc_ = 0;  // pending bits at the top
  int count_ = 0;
  int64_t rowLength_, maxTarget_, target_ = 0;
  std::vector<uint8_t> out_;
  int64_t filled_ = 0, read_ = 0;
  TEntry table_[kTableSize];
  uint32_t next_ = kFirstFree;
  int width_ = 9;
  int32_t prev_ = -1;
  bool done_ = false;
};

}  // namespace

const uint8_t* TiffLzwDecodeRow(const uint8_t* data, int64_t size, int64_t rowLength,
                                std::unique_ptr<TTiffLzwState>& state) {
  if (!data || rowLength <= 0) {
    state.reset();
    return nullptr;
  }
  if (!state) state = std::make_unique<TDecoder>(data, size, rowLength);
  auto* decoder = dynamic_cast<TDecoder*>(state.get());
  return decoder ? decoder->NextRow() : nullptr;
}

}  // namespace quillet
