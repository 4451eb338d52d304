// The GIF LZW encoder: the hashing compressor over a 5003-slot string table,
// codes packed least significant bit first into 254-byte sub-blocks.
#include <algorithm>
#include <vector>

#include "imaging/core/bit_io.h"
#include "imaging/core/interlace.h"
#include "imaging/core/lzw_hash_table.h"
#include "imaging/io/formats/gif/gif_codec.h"

namespace quillet {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeSize = 12;
constexpr int64_t kSubBlock = 254;

class TGifLzwCodeWriter {
 public:
  TGifLzwCodeWriter(int minCodeSize, std::vector<uint8_t>& out)
      : m_(minCodeSize), clear_(1 << minCodeSize), mask_(clear_ - 1), bits_(out) {
    Restart();
    Emit(clear_);
  }

  // The first pixel of the image starts the first string.
  void Begin(uint8_t pixel) { prefix_ = pixel & mask_; }

  void Feed(const uint8_t* pixels, int64_t count) {
    int prefix = prefix_;
    for (int64_t i = 0; i < count; ++i) {
      const int pixel = pixels[i] & mask_;
      int slot = 0;
      const int code = table_.Find(prefix, pixel, slot);
      if (code >= 0) {
        prefix = code;
        continue;
      }
      Emit(prefix);
      if (next_ < kMaxCodes) {
        table_.Insert(slot, prefix, pixel, next_++);
      } else {
        Emit(clear_);
        Restart();
      }
      prefix = pixel;
    }
    prefix_ = prefix;
  }

  // The pending string (none for an image without pixels) and the end code.
  void Finish() {
    if (prefix_ >= 0) Emit(prefix_);
    Emit(clear_ + 1);
    bits_.Flush();
  }

 private:
  void Restart() {
    table_.Clear();
    next_ = clear_ + 2;
    size_ = m_ + 1;
    maxCode_ = (1 << size_) - 1;
  }

  // The code at the current width, which grows once the next free code
  // passes the largest the width holds.
  void Emit(int code) {
    bits_.WriteBits(uint32_t(code), size_);
    if (next_ > maxCode_) {
      ++size_;
      maxCode_ = size_ == kMaxCodeSize ? kMaxCodes : (1 << size_) - 1;
    }
  }

  const int m_, clear_, mask_;
  TIEBitWriterLSB bits_;
  TIELzwHashTable table_;
  int next_ = 0, size_ = 0, maxCode_ = 0, prefix_ = -1;
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
