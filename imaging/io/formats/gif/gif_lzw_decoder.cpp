// The GIF LZW decoder: codes read least significant bit first, every string
// written backwards straight into its row from the prefix, suffix, first-byte
// and length tables; a full table stays as it is until a clear code comes.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imaging/core/bit_io.h"
#include "imaging/core/interlace.h"
#include "imaging/io/formats/gif/gif_codec.h"

namespace quillet {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeSize = 12;

// Every data sub-block up to the terminator or the end of the data, joined.
std::vector<uint8_t> ReadDataBlocks(TIEStream& stream) {
  std::vector<uint8_t> data;
  data.reserve(size_t(std::min<int64_t>(stream.Remaining(), int64_t(1) << 24)));
  uint8_t length = 0;
  while (stream.ReadU8(length) && length) {
    const size_t at = data.size();
    data.resize(at + length);
    const int64_t got = stream.Read(data.data() + at, length);
    if (got < length) {
      data.resize(at + size_t(got));
      break;
    }
  }
  return data;
}

// The rows of the index buffer in the order the data fills them.
class TIndexRows {
 public:
  TIndexRows(uint8_t* buffer, int64_t width, int64_t height, bool interlaced)
      : buffer_(buffer), width_(width), height_(height), interlaced_(interlaced) {
    Enter(0);
  }
  bool Full() const { return stored_ >= height_ || width_ <= 0; }
  int64_t Room() const { return width_ - x_; }
  uint8_t* At() const { return row_ + x_; }
  void Advance(int64_t n) {
    x_ += n;
    if (x_ == width_) Enter(stored_ + 1);
  }

 private:
  void Enter(int64_t stored) {
    stored_ = stored;
    x_ = 0;
    if (stored_ < height_) row_ = buffer_ + (interlaced_ ? InterlacedRow(stored_, height_) : stored_) * width_;
  }

  uint8_t* buffer_;
  uint8_t* row_ = nullptr;
  int64_t width_, height_, x_ = 0, stored_ = 0;
  bool interlaced_;
};

class TGifLzwCodeReader {
 public:
  TGifLzwCodeReader(int minCodeSize, TIndexRows& rows) : m_(minCodeSize), clear_(1 << minCodeSize), rows_(rows) {
    for (int c = 0; c < clear_; ++c) suffix_[size_t(c)] = first_[size_t(c)] = uint8_t(c), length_[size_t(c)] = 1;
    Reset();
  }

  // False on a code past the next free one; true at the end code, when every
  // row is stored, or when the data ends.
  bool Run(TIEBitReaderLSB& bits) {
    uint32_t code = 0;
    while (!rows_.Full() && bits.ReadBits(size_, code)) {
      if (int(code) == clear_) {
        Reset();
        continue;
      }
      if (int(code) == clear_ + 1) break;
      if (prev_ < 0) {
        if (int(code) >= next_) code = 0;
      } else {
        if (int(code) > next_) return false;
        if (next_ < kMaxCodes) Add(int(code));
      }
      Write(int(code));
      prev_ = int(code);
    }
    return true;
  }

 private:
  void Reset() {
    next_ = clear_ + 2;
    size_ = m_ + 1;
    prev_ = -1;
  }

  // The previous string and the first index of `code`'s string (of the
  // previous one when `code` is the entry being made).
  void Add(int code) {
    const size_t n = size_t(next_), p = size_t(prev_);
    prefix_[n] = uint16_t(prev_);
    suffix_[n] = first_[code == next_ ? p : size_t(code)];
    first_[n] = first_[p];
    length_[n] = uint16_t(length_[p] + 1);
    if (++next_ == 1 << size_ && size_ < kMaxCodeSize) ++size_;
  }

  // The string of `code` (`length` indices), last index first, ending at
  // `end` - 1; a counted loop, so that only the prefix chain is loaded.
  void Unwind(int code, int64_t length, uint8_t* end) const {
    uint8_t* p = end - 1;
    size_t c = size_t(code);
    for (int64_t i = 1; i < length; ++i, c = prefix_[c]) *p-- = suffix_[c];
    *p = suffix_[c];
  }

  void Write(int code) {
    const int64_t length = length_[size_t(code)];
    if (length <= rows_.Room()) {
      Unwind(code, length, rows_.At() + length);
      rows_.Advance(length);
      return;
    }
    // The string runs over the end of the row: unwound aside, then copied row by row.
    Unwind(code, length, spill_.data() + length);
    for (int64_t done = 0; done < length && !rows_.Full();) {
      const int64_t n = std::min(length - done, rows_.Room());
      std::memcpy(rows_.At(), spill_.data() + done, size_t(n));
      rows_.Advance(n);
      done += n;
    }
  }

  const int m_, clear_;
  TIndexRows& rows_;
  int next_ = 0, size_ = 0, prev_ = -1;
  std::array<uint16_t, kMaxCodes> prefix_{}, length_{};
  std::array<uint8_t, kMaxCodes> suffix_{}, first_{};
  std::array<uint8_t, kMaxCodes> spill_{};
};

}  // namespace

bool GifLzwDecode(TIEStream& stream, int64_t height, int64_t width, uint8_t* buffer, bool interlaced) {
  const int64_t start = stream.Position();
  uint8_t minCodeSize = 0;
  // Indices must fit in a byte: code sizes 2 to 8.
  if (!stream.ReadU8(minCodeSize) || minCodeSize < 2 || minCodeSize > 8) {
    stream.Seek(start, TSeekOrigin::soBeginning);
    return false;
  }
  const std::vector<uint8_t> data = ReadDataBlocks(stream);
  TIndexRows rows(buffer, width, height, interlaced);
  TGifLzwCodeReader decoder(minCodeSize, rows);
  TIEBitReaderLSB bits(data.data(), data.size());
  if (data.empty() || !decoder.Run(bits)) {
    stream.Seek(start, TSeekOrigin::soBeginning);
    return false;
  }
  return true;
}

}  // namespace quillet
