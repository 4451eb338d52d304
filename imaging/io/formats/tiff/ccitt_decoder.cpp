// CCITT decoding into changing elements, then into rows.
#include "imaging/io/formats/tiff/ccitt_decoder.h"

#include <algorithm>
#include <array>
#include <bit>

#include "imaging/io/formats/tiff/ccitt_codes.h"
#include "imaging/io/formats/tiff/tiff_page.h"

namespace quillet {

namespace {

enum class TMode : uint8_t { tmNone, tmPass, tmHorizontal, tmVertical, tmExtension, tmZeros };

struct TModeCode {
  TMode Mode = TMode::tmNone;
  int8_t Delta = 0;  // vertical modes: a1 - b1
  uint8_t Length = 0;
};

// The two-dimensional mode codes, indexed by the next 7 bits.
const std::array<TModeCode, 128>& ModeTable() {
  static const std::array<TModeCode, 128> table = [] {
    std::array<TModeCode, 128> t{};
    for (int v = 0; v < 128; ++v) {
      TModeCode& m = t[size_t(v)];
      if (v >> 6 == 1) m = {TMode::tmVertical, 0, 1};
      else if (v >> 4 == 3) m = {TMode::tmVertical, 1, 3};
      else if (v >> 4 == 2) m = {TMode::tmVertical, -1, 3};
      else if (v >> 4 == 1) m = {TMode::tmHorizontal, 0, 3};
      else if (v >> 3 == 1) m = {TMode::tmPass, 0, 4};
      else if (v >> 1 == 3) m = {TMode::tmVertical, 2, 6};
      else if (v >> 1 == 2) m = {TMode::tmVertical, -2, 6};
      else if (v == 3) m = {TMode::tmVertical, 3, 7};
      else if (v == 2) m = {TMode::tmVertical, -3, 7};
      else if (v == 1) m = {TMode::tmExtension, 0, 7};
      else m = {TMode::tmZeros, 0, 0};
    }
    return t;
  }();
  return table;
}

constexpr uint32_t kUncompressedEntry = 0x0F;  // 0000001111, ten bits

}  // namespace

TCcittDecoder::TCcittDecoder(int32_t width, uint32_t compression, uint32_t t4Options)
    : width_(width), compression_(compression), twoD_(compression == tcGroup4 || (compression == tcGroup3 && (t4Options & 1))) {}

void TCcittDecoder::StartStrip(const uint8_t* data, int64_t size) {
  bits_ = TIEBitReaderMSB(data, size_t(size));
  WhiteLine(width_, ref_);
  firstRow_ = true;
}

void TCcittDecoder::Paint(int64_t end, bool black) {
  end = std::min<int64_t>(end, width_);
  if (end <= painted_) return;
  if ((cur_.size() & 1) != size_t(black)) cur_.push_back(painted_);
  painted_ = int32_t(end);
}

bool TCcittDecoder::SkipEols() {
  bool eol = false;
  while (bits_.BitsLeft() >= 12) {
    const uint32_t next = bits_.PeekBits(12);
    if (next == kCcittEolCode.Bits) {
      bits_.SkipBits(12);
      eol = true;
    } else if (next == 0) {
      bits_.SkipBits(1);  // fill
    } else {
      break;
    }
  }
  return eol;
}

int64_t TCcittDecoder::ReadRun(bool black) {
  const std::span<const TCcittLookup> table = CcittRunTable(black);
  int64_t total = 0;
  for (;;) {
    const int64_t left = bits_.BitsLeft();
    if (left == 0) return end_ = TEnd::teExhausted, -1;
    const TCcittLookup code = table[bits_.PeekBits(kCcittPeekBits)];
    if (code.Run == kCcittEol) return end_ = TEnd::teEol, -1;
    if (code.Run == kCcittNoCode || code.Length > left) {
      bits_.SkipBits(1);  // a pattern that is no code
      continue;
    }
    bits_.SkipBits(code.Length);
    total = std::min<int64_t>(total + code.Run, int64_t(width_) + 2560);
    if (code.Run < 64) return total;
  }
}

void TCcittDecoder::DecodeRow(uint8_t* row) {
  cur_.clear();
  painted_ = 0;
  a0_ = -1;
  black_ = false;
  end_ = TEnd::teNone;
  if (compression_ == tcModifiedHuffman) bits_.AlignToByte();
  const bool eol = SkipEols();
  bool twoD = twoD_;
  if (twoD_ && compression_ == tcGroup3) {
    uint32_t tag = 0;
    twoD = eol ? bits_.ReadBits(1, tag) && tag == 0 : !firstRow_;
  }
  if (twoD)
    Decode2D();
  else
    Decode1D();
  // A row cut short by an EOL ends in the colour of its run; one cut short
  // by the end of the data ends white.
  Paint(width_, end_ == TEnd::teEol && black_);
  const size_t count = cur_.size();
  ChangesToRow(cur_, count, width_, row);
  cur_.insert(cur_.end(), kChangeSentinels, width_);
  ref_.swap(cur_);
  firstRow_ = false;
}

void TCcittDecoder::Decode1D() {
  while (painted_ < width_) {
    const int64_t run = ReadRun(black_);
    if (run < 0) {
      if (end_ == TEnd::teEol) bits_.SkipBits(12);
      return;
    }
    Paint(int64_t(painted_) + run, black_);
    black_ = !black_;
  }
}

void TCcittDecoder::Decode2D() {
  const std::array<TModeCode, 128>& modes = ModeTable();
  TChangeFinder reference(ref_);
  while (a0_ < width_) {
    const int64_t left = bits_.BitsLeft();
    if (left == 0) return void(end_ = TEnd::teExhausted);
    const TModeCode m = modes[bits_.PeekBits(7)];
    if (m.Mode == TMode::tmZeros) {
      if (bits_.PeekBits(12) == kCcittEolCode.Bits) return void(end_ = TEnd::teEol);  // left for the next row
      bits_.SkipBits(1);
      continue;
    }
    if (m.Mode == TMode::tmExtension) {
      const bool entry = left >= 10 && bits_.PeekBits(10) == kUncompressedEntry;
      bits_.SkipBits(entry ? 10 : 1);
      if (entry) Uncompressed();
      continue;
    }
    if (m.Length > left) return void(end_ = TEnd::teExhausted);
    bits_.SkipBits(m.Length);
    if (m.Mode == TMode::tmHorizontal) {
      Horizontal();
      if (end_ != TEnd::teNone) return;
      continue;
    }
    const size_t i = reference.Next(a0_, black_);
    const int32_t b1 = ref_[i], b2 = ref_[i + 1];
    if (m.Mode == TMode::tmPass) {
      Paint(b2, black_);
      a0_ = b2;
    } else {
      const int32_t a1 = std::clamp(b1 + m.Delta, std::max(a0_, 0), width_);
      Paint(a1, black_);
      a0_ = a1;
      black_ = !black_;
    }
  }
}

void TCcittDecoder::Horizontal() {
  const int64_t start = std::max(a0_, 0);
  const int64_t first = ReadRun(black_);
  if (first < 0) return;
  const int64_t a1 = std::min<int64_t>(start + first, width_);
  Paint(a1, black_);
  const int64_t second = ReadRun(!black_);
  if (second < 0) return;
  const int64_t a2 = std::min<int64_t>(a1 + second, width_);
  Paint(a2, !black_);
  a0_ = int32_t(a2);
}

// Pixels coded one by one: 0^n 1 (n < 5) is n white pixels and a black one,
// 000001 five white pixels; 0^n 1 T (6 <= n <= 10) leaves the mode after
// n - 6 white pixels, T giving the colour that follows.
void TCcittDecoder::Uncompressed() {
  while (bits_.BitsLeft() > 0) {
    const uint32_t next = bits_.PeekBits(12);
    const int zeros = next == 0 ? 12 : std::countl_zero(next) - 20;
    int64_t at = std::max(a0_, 0);
    if (zeros <= 5) {
      bits_.SkipBits(zeros + 1);
      Paint(at + zeros, false);
      if (zeros < 5) Paint(at + zeros + 1, true);
      a0_ = int32_t(std::min<int64_t>(at + zeros + (zeros < 5), width_));
      continue;
    }
    if (zeros > 10) return;
    bits_.SkipBits(zeros + 1);
    Paint(at + zeros - 6, false);
    a0_ = int32_t(std::min<int64_t>(at + zeros - 6, width_));
    uint32_t tag = 0;
    bits_.ReadBits(1, tag);
    black_ = tag == 1;
    return;
  }
}

}  // namespace quillet
