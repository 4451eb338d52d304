// The GIF LZW encoder: the hashing compressor over the shared string table,
// codes packed least significant bit first into 254-byte sub-blocks.
#include <algorithm>
#include <vector>

#include "imaging/core/interlace.h"
#include "imaging/core/lzw_hash_table.h"
#include "imaging/io/formats/gif/gif_codec.h"

namespace quillet {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeSize = 12;
constexpr int64_t kSubBlock = 254;

// Codes go into `out` through a pointer, least significant bit first, from a
// 64-bit accumulator; the state lives in locals through a row of pixels, so
// that it stays in registers.
class TGifLzwCodeWriter {
 public:
  TGifLzwCodeWriter(int minCodeSize, std::vector<uint8_t>& out)
      : m_(minCodeSize), clear_(1 << minCodeSize), mask_(clear_ - 1), out_(out) {
    TCodes c = Start(1);
    Restart(c);
    Emit(c, clear_);
    Stop(c);
  }

  // The first pixel of the image starts the first string.
  void Begin(uint8_t pixel) { prefix_ = pixel & mask_; }

  void Feed(const uint8_t* pixels, int64_t count) {
    TCodes c = Start(count);
    int prefix = prefix_;
    for (int64_t i = 0; i < count; ++i) {
      const int pixel = pixels[i] & mask_;
      int slot = 0;
      const int code = table_.Find(prefix, pixel, slot);
      if (code >= 0) {
        prefix = code;
        continue;
      }
      Emit(c, prefix);
      if (c.next < kMaxCodes) {
        table_.Insert(slot, prefix, pixel, c.next++);
      } else {
        Emit(c, clear_);
        Restart(c);
      }
      prefix = pixel;
    }
    prefix_ = prefix;
    Stop(c);
  }

  // The pending string (none for an image without pixels), the end code and
  // the last bits, zero filled; `out` then holds the code stream.
  void Finish() {
    TCodes c = Start(1);
    if (prefix_ >= 0) Emit(c, prefix_);
    Emit(c, clear_ + 1);
    if (c.bits > 0) *c.out++ = uint8_t(c.acc);
    c.acc = 0, c.bits = 0;
    Stop(c);
    out_.resize(size_t(used_));
  }

 private:
  // The coder's state while it codes; `acc` holds `bits` pending bits.
  struct TCodes {
    uint8_t* out;
    uint64_t acc;
    int bits, next, size, maxCode;
  };

  // Room after the used_ bytes of out_ for the codes of `count` more pixels:
  // at most two codes (one a clear code) of two bytes each per pixel.
  TCodes Start(int64_t count) {
    const size_t room = size_t(used_ + 4 * count + 8);
    if (out_.size() < room) out_.resize(room);
    return {out_.data() + used_, acc_, bits_, next_, size_, maxCode_};
  }

  void Stop(const TCodes& c) {
    used_ = c.out - out_.data();
    acc_ = c.acc, bits_ = c.bits, next_ = c.next, size_ = c.size, maxCode_ = c.maxCode;
  }

  void Restart(TCodes& c) {
    table_.Clear();
    c.next = clear_ + 2;
    c.size = m_ + 1;
    c.maxCode = (1 << c.size) - 1;
  }

  // The code at the current width, which grows once the next free code
  // passes the largest the width holds.
  static void Emit(TCodes& c, int code) {
    c.acc |= uint64_t(code) << c.bits;
    c.bits += c.size;
    while (c.bits >= 8) *c.out++ = uint8_t(c.acc), c.acc >>= 8, c.bits -= 8;
    if (c.next > c.maxCode) {
      ++c.size;
      c.maxCode = c.size == kMaxCodeSize ? kMaxCodes : (1 << c.size) - 1;
    }
  }

  const int m_, clear_, mask_;
  std::vector<uint8_t>& out_;
  int64_t used_ = 0;
  uint64_t acc_ = 0;
  int bits_ = 0, next_ = 0, size_ = 0, maxCode_ = 0, prefix_ = -1;
  TIELzwHashTable table_;
};

void WriteSubBlocks(TIEStream& stream, const std::vector<uint8_t>& data) {
  for (int64_t at = 0; at < int64_t(data.size()); at += kSubBlock) {
    const int64_t n = std::min(kSubBlock, int64_t(data.size()) - at);
    stream.WriteU8(uint8_t(n));
    stream.WriteExact(data.data() + at, n);
  }
  stream.WriteU8(0);
}

}  // namespace

bool GifLzwEncode(TIEStream& stream, int64_t height, int64_t width, int bits, const uint8_t* buffer,
                  bool interlaced) {
  const int minCodeSize = std::clamp(bits, 2, 8);
  stream.WriteU8(uint8_t(minCodeSize));
  std::vector<uint8_t> codes;
  codes.reserve(size_t(std::max<int64_t>(width * height / 2, 64)));
  TGifLzwCodeWriter encoder(minCodeSize, codes);
  for (int64_t i = 0; i < height && width > 0; ++i) {
    const uint8_t* row = buffer + (interlaced ? InterlacedRow(i, height) : i) * width;
    if (i == 0) encoder.Begin(row[0]);
    encoder.Feed(row + (i == 0), width - (i == 0));
  }
  encoder.Finish();
  WriteSubBlocks(stream, codes);
  return !stream.Failed();
}

}  // namespace quillet
