// PackBits: a header byte n, then n + 1 literal bytes (0..127) or one byte
// repeated 1 - n times (-127..-1); -128 is no operation.
#include "imaging/io/formats/tiff/packbits.h"

#include <algorithm>
#include <cstring>

namespace quillet {

bool UnpackBitsRow(const uint8_t*& src, const uint8_t* end, uint8_t* row, int64_t size) {
  int64_t filled = 0;
  while (filled < size) {
    if (src >= end) return false;
    const int8_t n = int8_t(*src++);
    if (n == -128) continue;
    if (n >= 0) {
      const int64_t count = std::min<int64_t>({n + 1, size - filled, end - src});
      std::memcpy(row + filled, src, size_t(count));
      filled += count;
      src += n + 1 <= end - src ? n + 1 : end - src;
    } else {
      if (src >= end) return false;
      const int64_t count = std::min<int64_t>(1 - n, size - filled);
      std::memset(row + filled, *src++, size_t(count));
      filled += count;
    }
  }
  return true;
}

namespace {

void FlushLiteral(const uint8_t* from, int64_t count, std::vector<uint8_t>& out) {
  if (count == 0) return;
  out.push_back(uint8_t(count - 1));
  out.insert(out.end(), from, from + count);
}

}  // namespace

void PackBitsRow(const uint8_t* row, int64_t size, std::vector<uint8_t>& out) {
  int64_t literal = 0, x = 0;  // the pending literal starts at `literal`
  while (x < size) {
    int64_t run = 1;
    while (x + run < size && run < 128 && row[x + run] == row[x]) ++run;
    if (run >= 4) {
      FlushLiteral(row + literal, x - literal, out);
      out.push_back(uint8_t(1 - run));
      out.push_back(row[x]);
      x += run;
      literal = x;
      continue;
    }
    x += run;
    while (x - literal >= 128) {
      FlushLiteral(row + literal, 128, out);
      literal += 128;
    }
  }
  FlushLiteral(row + literal, x - literal, out);
}

}  // namespace quillet
