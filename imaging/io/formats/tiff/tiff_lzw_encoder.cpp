// The TIFF LZW encoder: codes of 9 to 12 bits, most significant bit first,
// starting with a clear code; the width grows one code early and the table
// restarts with a clear code before it fills. The code stream goes out in
// chunks of 254 bytes.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/lzw_hash_table.h"
#include "imaging/core/stream.h"
#include "imaging/io/formats/tiff/tiff_lzw.h"

namespace quillet {

namespace {

constexpr int kClear = 256, kEnd = 257, kFirstFree = 258, kLastFree = 4093;
constexpr int64_t kChunk = 254;

// Codes go into out_ through a pointer, most significant bit first, from a
// 64-bit accumulator; the state lives in locals through a row, so that it
// stays in registers.
class TEncoder : public TTiffLzwState {
 public:
  explicit TEncoder(TIEStream& stream) : stream_(stream) {
    TCodes c = Start(1);
    c.Put(kClear);
    Stop(c);
  }

  void Row(const uint8_t* row, int64_t count) {
    int64_t i = 0;
    if (prefix_ < 0 && count > 0) prefix_ = row[i++];
    TCodes c = Start(count);
    int prefix = prefix_;
    for (; i < count; ++i) {
      const int byte = row[i];
      int slot = 0;
      const int code = table_.Find(prefix, byte, slot);
      if (code >= 0) {
        prefix = code;
        continue;
      }
      c.Put(prefix);
      table_.Insert(slot, prefix, byte, c.next);
      Grow(c);
      prefix = byte;
    }
    prefix_ = prefix;
    Stop(c);
    WriteChunks(false);
  }

  // The pending prefix, counted as the decoder will count it, the end code
  // and the last bits, zero filled.
  void End() {
    TCodes c = Start(1);
    if (prefix_ >= 0) {
      c.Put(prefix_);
      Grow(c);
    }
    c.Put(kEnd);
    if (c.bits > 0) *c.out++ = uint8_t(c.acc << (8 - c.bits));
    c.acc = 0, c.bits = 0;
    Stop(c);
    WriteChunks(true);
  }

 private:
  // The coder's state while it codes.
  struct TCodes {
    uint8_t* out;
    uint64_t acc;  // the low `bits` bits are pending
    int bits, next, width;

    void Put(int code) {
      acc = acc << width | uint32_t(code);
      bits += width;
      while (bits >= 8) bits -= 8, *out++ = uint8_t(acc >> bits);
    }
  };

  // Room after the used_ bytes of out_ for the codes of `count` more bytes:
  // at most two codes (one a clear code) of two bytes each per byte. The
  // buffer only grows, so that rows of one size never fill it again.
  TCodes Start(int64_t count) {
    const size_t room = size_t(used_ + 4 * count + 8);
    if (out_.size() < room) out_.resize(room);
    return {out_.data() + used_, acc_, bits_, next_, width_};
  }

  void Stop(const TCodes& c) {
    used_ = c.out - out_.data();
    acc_ = c.acc, bits_ = c.bits, next_ = c.next, width_ = c.width;
  }

  // One more code taken: a wider code from the one after the largest of the
  // width on, or a fresh table once the codes are used up.
  void Grow(TCodes& c) {
    if (++c.next > kLastFree) {
      c.Put(kClear);
      table_.Clear();
      c.next = kFirstFree;
      c.width = 9;
    } else if (c.next > (1 << c.width) - 1) {
      ++c.width;
    }
  }

  void WriteChunks(bool all) {
    int64_t at = 0;
    while (used_ - at >= kChunk || (all && at < used_)) {
      const int64_t n = std::min(kChunk, used_ - at);
      stream_.WriteExact(out_.data() + at, n);
      at += n;
    }
    std::memmove(out_.data(), out_.data() + at, size_t(used_ - at));
    used_ -= at;
  }

  TIEStream& stream_;
  std::vector<uint8_t> out_;
  int64_t used_ = 0;
  uint64_t acc_ = 0;
  int bits_ = 0;
  TIELzwHashTable table_;
  int prefix_ = -1;
  int next_ = kFirstFree;
  int width_ = 9;
};

}  // namespace

void TiffLzwEncodeRow(const uint8_t* row, int64_t count, TIEStream& stream, std::unique_ptr<TTiffLzwState>& state) {
  if (!state) state = std::make_unique<TEncoder>(stream);
  auto* encoder = dynamic_cast<TEncoder*>(state.get());
  if (!encoder) return;
  if (row) return encoder->Row(row, count);
  encoder->End();
  state.reset();
}

}  // namespace quillet
