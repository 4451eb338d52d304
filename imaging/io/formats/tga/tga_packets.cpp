#include "imaging/io/formats/tga/tga_packets.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

constexpr int kMaxPacket = 128;

void RepeatPixel(uint8_t* out, const uint8_t* value, int bytes, int64_t count) {
  if (bytes == 1) {
    std::memset(out, value[0], size_t(count));
    return;
  }
  for (int64_t i = 0; i < count; ++i, out += bytes) std::memcpy(out, value, size_t(bytes));
}

template <int N>
bool Same(const uint8_t* p, int64_t i, int64_t j) {
  return std::memcmp(p + i * N, p + j * N, N) == 0;
}

template <int N>
void EncodeRow(const uint8_t* p, int64_t count, std::vector<uint8_t>& out) {
  for (int64_t x = 0; x < count;) {
    int64_t run = 1;
    while (run < kMaxPacket && x + run < count && Same<N>(p, x, x + run)) ++run;
    if (run > 1) {
      out.push_back(uint8_t(0x80 | (run - 1)));
      out.insert(out.end(), p + x * N, p + (x + 1) * N);
      x += run;
      continue;
    }
    // A literal packet ends where a run of two equal pixels begins.
    int64_t n = 1;
    while (n < kMaxPacket && x + n < count && !(x + n + 1 < count && Same<N>(p, x + n, x + n + 1))) ++n;
    out.push_back(uint8_t(n - 1));
    out.insert(out.end(), p + x * N, p + (x + n) * N);
    x += n;
  }
}

}  // namespace

int64_t TTgaPacketReader::Packets(uint8_t* out, int64_t count) {
  int64_t at = 0;
  while (at < count) {
    if (left_ == 0) {
      uint8_t h;
      if (!in_.Byte(h)) break;
      left_ = (h & 0x7F) + 1;
      repeat_ = h & 0x80;
      if (repeat_ && in_.Read(value_, bytes_) != bytes_) {
        left_ = 0;
        break;
      }
    }
    const int64_t n = std::min<int64_t>(left_, count - at);
    uint8_t* dst = out + at * bytes_;
    if (repeat_) {
      RepeatPixel(dst, value_, bytes_, n);
    } else if (in_.Read(dst, n * bytes_) != n * bytes_) {
      left_ = 0;
      break;
    }
    at += n;
    left_ -= int(n);
  }
  return at;
}

bool TTgaPacketReader::Row(uint8_t* out, int64_t count) {
  const int64_t want = count * bytes_;
  const int64_t got = rle_ ? Packets(out, count) * bytes_ : in_.Read(out, want);
  std::memset(out + got, 0, size_t(want - got));
  return got == want;
}

void EncodeTgaRow(const uint8_t* pixels, int64_t count, int pixelBytes, std::vector<uint8_t>& out) {
  if (pixelBytes == 1)
    EncodeRow<1>(pixels, count, out);
  else
    EncodeRow<3>(pixels, count, out);
}

}  // namespace quillet
