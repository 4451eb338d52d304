// CCITT encoding from changing elements.
#include "imaging/io/formats/tiff/ccitt_encoder.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/io/formats/tiff/ccitt_codes.h"
#include "imaging/io/formats/tiff/tiff_page.h"

namespace quillet {

namespace {

constexpr TCcittCode kPass{1, 4}, kHorizontal{1, 3};
// Vertical mode codes of a1 - b1 = -3..3.
constexpr TCcittCode kVertical[7] = {{2, 7}, {2, 6}, {2, 3}, {1, 1}, {3, 3}, {3, 6}, {3, 7}};

}  // namespace

TCcittEncoder::TCcittEncoder(int32_t width, uint32_t compression, bool twoD, std::vector<uint8_t>& out)
    : width_(width), compression_(compression), twoD_(twoD), bits_(out) {
  WhiteLine(width_, ref_);
}

void TCcittEncoder::WriteRun(int64_t run, bool black) {
  const auto put = [&](TCcittCode c) { bits_.WriteBits(c.Bits, c.Length); };
  for (; run > 2560; run -= 2560) put(CcittMakeUpCode(black, 2560));
  if (run >= 64) put(CcittMakeUpCode(black, int(run / 64 * 64)));
  put(CcittTerminatingCode(black, int(run % 64)));
}

void TCcittEncoder::EncodeRow(const uint8_t* row) {
  RowToChanges(row, width_, cur_);
  const auto put = [&](TCcittCode c) { bits_.WriteBits(c.Bits, c.Length); };
  if (compression_ == tcGroup3) {
    put(kCcittEolCode);
    if (twoD_) bits_.WriteBits(firstRow_ ? 1 : 0, 1);
  }
  const bool oneD = compression_ == tcModifiedHuffman || (compression_ == tcGroup3 && (!twoD_ || firstRow_));
  if (oneD)
    Code1D();
  else
    Code2D();
  if (compression_ == tcModifiedHuffman) bits_.Flush();
  ref_.swap(cur_);
  firstRow_ = false;
}

void TCcittEncoder::Code1D() {
  int32_t at = 0;
  bool black = false;
  for (size_t i = 0; at < width_; ++i, black = !black) {
    const int32_t next = cur_[i];
    WriteRun(next - at, black);
    at = next;
  }
}

void TCcittEncoder::Code2D() {
  const auto put = [&](TCcittCode c) { bits_.WriteBits(c.Bits, c.Length); };
  TChangeFinder coding(cur_), reference(ref_);
  int32_t a0 = -1;
  bool black = false;
  while (a0 < width_) {
    const size_t ia1 = coding.Next(a0, black);
    const int32_t a1 = cur_[ia1];
    const size_t ib1 = reference.Next(a0, black);
    const int32_t b1 = ref_[ib1], b2 = ref_[ib1 + 1];
    if (b2 < a1) {
      put(kPass);
      a0 = b2;
    } else if (std::abs(a1 - b1) <= 3) {
      put(kVertical[a1 - b1 + 3]);
      a0 = a1;
      black = !black;
    } else {
      const int32_t a2 = cur_[ia1 + 1];
      put(kHorizontal);
      WriteRun(a1 - std::max(a0, 0), black);
      WriteRun(a2 - a1, !black);
      a0 = a2;
    }
  }
}

void TCcittEncoder::Finish() {
  const auto put = [&](TCcittCode c) { bits_.WriteBits(c.Bits, c.Length); };
  if (compression_ == tcGroup3 && twoD_) put(kCcittEolCode);
  if (compression_ == tcGroup4) put(kCcittEolCode), put(kCcittEolCode);
  bits_.Flush();
}

}  // namespace quillet
