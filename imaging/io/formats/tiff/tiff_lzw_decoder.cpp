// The TIFF LZW decoder: every table entry keeps the first eight bytes of its
// string, so short strings are written with one store and long ones walk
// their chain only past those eight bytes. Rows are decoded ahead, twice as
// many at each refill up to 50, so that strips of one row stay cheap.
#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

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
  }

  const uint8_t* NextRow() {
    if (filled_ - read_ < rowLength_) {
      target_ = std::min(std::max(2 * target_, rowLength_), maxTarget_);
      MakeRoom();
      if (!done_) Decode();
      if (filled_ < rowLength_) return nullptr;
    }
    const uint8_t* row = out_.get() + read_;
    read_ += rowLength_;
    return row;
  }

 private:
  // Room for target_ bytes and the longest string past them, the unread
  // bytes moved to the front. New memory is left unfilled: only what the
  // decoder wrote is read.
  void MakeRoom() {
    const int64_t need = target_ + kMaxString + 8, unread = filled_ - read_;
    if (capacity_ < need) {
      auto bigger = std::make_unique_for_overwrite<uint8_t[]>(size_t(need));
      if (unread > 0) std::memcpy(bigger.get(), out_.get() + read_, size_t(unread));
      out_ = std::move(bigger);
      capacity_ = need;
    } else if (unread > 0) {
      std::memmove(out_.get(), out_.get() + read_, size_t(unread));
    }
    filled_ = unread;
    read_ = 0;
  }

  // Writes the string of `code` at `dst`; its length.
  int64_t Put(uint32_t code, uint8_t* dst) const {
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
    return length;
  }

  // A new entry: the string of `prev` and `byte`, the code width growing one
  // code early. False when the table is full.
  bool Add(uint32_t prev, uint8_t byte, uint32_t& next, int& width) {
    if (next >= kTableSize) return false;
    const TEntry& p = table_[prev];
    TEntry& e = table_[next];
    e.prefix = uint16_t(prev);
    e.length = uint16_t(p.length + 1);
    e.first = p.first;
    e.last = byte;
    e.head = p.length < 8 ? p.head | uint64_t(byte) << (8 * p.length) : p.head;
    ++next;
    if (next == (1u << width) - 1 && width < 12) ++width;
    return true;
  }

  // Tops up `acc` (its `count` bits at the top) to at least 56 bits while the
  // data lasts. Eight bytes at a time where there are eight: the bits below
  // the count are then the next bits of the data, which a later top-up
  // ORs in again unchanged.
  void Refill(const uint8_t*& p, uint64_t& acc, int& count) const {
    if (end_ - p >= 8) {
      uint64_t word;
      std::memcpy(&word, p, 8);
      acc |= __builtin_bswap64(word) >> count;
      p += (63 - count) >> 3;
      count |= 56;
      return;
    }
    while (count <= 56 && p < end_) acc |= uint64_t(*p++) << (56 - count), count += 8;
  }

  // Decodes codes until the output holds target_ bytes or the data ends. The
  // state lives in locals through the loop, so that it stays in registers.
  void Decode() {
    const uint8_t* p = p_;
    uint64_t acc = acc_;
    int count = count_;
    uint32_t next = next_;
    int width = width_;
    int32_t prev = prev_;
    uint8_t* const out = out_.get();
    const int64_t target = target_;
    int64_t filled = filled_;
    bool done = false;
    while (filled < target) {
      if (count < width) {
        Refill(p, acc, count);
        if (count < width) {
          done = true;
          break;
        }
      }
      const uint32_t code = uint32_t(acc >> (64 - width));
      acc <<= width;
      count -= width;
      if (code == kClear) {
        next = kFirstFree, width = 9, prev = -1;
        continue;
      }
      if (code == kEnd) {
        done = true;
        break;
      }
      if (prev < 0) {
        if (code >= 256) {
          done = true;
          break;
        }
        filled += Put(code, out + filled);
      } else if (code < next) {
        filled += Put(code, out + filled);
        if (!Add(uint32_t(prev), table_[code].first, next, width)) {
          done = true;
          break;
        }
      } else if (code == next) {
        const uint8_t first = table_[prev].first;
        filled += Put(uint32_t(prev), out + filled);
        out[filled++] = first;
        if (!Add(uint32_t(prev), first, next, width)) {
          done = true;
          break;
        }
      } else {
        done = true;
        break;
      }
      prev = int32_t(code);
    }
    p_ = p, acc_ = acc, count_ = count, next_ = next, width_ = width, prev_ = prev, filled_ = filled, done_ = done;
  }

  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t acc_ = 0;  // pending bits at the top
  int count_ = 0;
  int64_t rowLength_, maxTarget_, target_ = 0;
  std::unique_ptr<uint8_t[]> out_;
  int64_t capacity_ = 0, filled_ = 0, read_ = 0;
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
