// The TIFF LZW encoder: codes of 9 to 12 bits, most significant bit first,
// starting with a clear code; the width grows one code early and the table
// restarts with a clear code before it fills. The code stream goes out in
// chunks of 254 bytes.
#include <algorithm>

#include "imaging/core/bit_io.h"
#include "imaging/io/formats/tiff/tiff_lzw.h"
#include "imaging/core/lzw_hash_table.h"

#include "imaging/core/stream.h"

namespace quillet {

namespace {

constexpr int kClear = 256, kEnd = 257, kFirstFree = 258, kLastFree = 4093;
constexpr int64_t kChunk = 254;

class TEncoder : public TTiffLzwState {
 public:
  explicit TEncoder(TIEStream& stream) : stream_(stream) { Put(kClear); }

  void Row(const uint8_t* row, int64_t count) {
    int64_t i = 0;
    if (prefix_ < 0 && count > 0) prefix_ = row[i++];
    for (; i < count; ++i) {
      const int byte = row[i];
      int slot = 0;
      const int code = table_.Find(prefix_, byte, slot);
      if (code >= 0) {
        prefix_ = code;
        continue;
      }
      Put(prefix_);
      table_.Insert(slot, prefix_, byte, next_);
      Grow();
      prefix_ = byte;
    }
    WriteChunks(false);
  }

  // The pending prefix, counted as the decoder will count it, and the end code.
  void End() {
    if (prefix_ >= 0) {
      Put(prefix_);
      Grow();
    }
    Put(kEnd);
    bits_.Flush();
    WriteChunks(true);
  }

 private:
  void Put(int code) { bits_.WriteBits(uint32_t(code), width_); }

  // One more code taken: a wider code from the one after the largest of the
  // width on, or a fresh table once the codes are used up.
  void Grow() {
    if (++next_ > kLastFree) {
      Put(kClear);
      table_.Clear();
      next_ = kFirstFree;
      width_ = 9;
    } else if (next_ > (1 << width_) - 1) {
      ++width_;
    }
  }

  void WriteChunks(bool all) {
    int64_t at = 0;
    const int64_t size = int64_t(out_.size());
    while (size - at >= kChunk || (all && at < size)) {
      const int64_t n = std::min(kChunk, size - at);
      stream_.WriteExact(out_.data() + at, n);
      at += n;
    }
    out_.erase(out_.begin(), out_.begin() + at);
  }

  TIEStream& stream_;
  std::vector<uint8_t> out_;
  TIEBitWriterMSB bits_{out_};
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
