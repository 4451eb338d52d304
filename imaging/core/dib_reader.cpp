// Device-independent bitmap reading: header sizes, masks, colour tables, the
// layout rules, 1-bit polarity, and the stored or RLE pixel data.
#include "imaging/core/dib_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/math.h"

namespace quillet {

namespace {

uint32_t U32At(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16At(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool ReadCoreHeader(TIEStream& s, TDibHeader& h) {
  uint8_t b[kDibCoreHeaderBytes];
  if (!s.ReadExact(b, kDibCoreHeaderBytes)) return false;
  h.Width = U16At(b + 4);
  h.Height = U16At(b + 6);
  h.Bits = U16At(b + 10);
  return true;
}

bool ReadLongHeader(TIEStream& s, int64_t start, TDibHeader& h) {
  uint8_t b[64] = {};
  if (!s.ReadExact(b, std::min<int64_t>(64, h.HeaderSize))) return false;
  s.Seek(start + h.HeaderSize, TSeekOrigin::soBeginning);
  const int32_t height = int32_t(U32At(b + 8));
  h.Width = int32_t(U32At(b + 4));
  h.TopDown = height < 0;
  h.Height = h.TopDown ? -int64_t(height) : height;
  h.Bits = U16At(b + 14);
  h.Compression = U32At(b + 16);
  h.ImageSize = U32At(b + 20);
  h.XPelsPerMeter = int32_t(U32At(b + 24));
  h.YPelsPerMeter = int32_t(U32At(b + 28));
  h.ColorsUsed = U32At(b + 32);
  if (h.HeaderSize >= 52)
    for (int i = 0; i < 3; ++i) h.HeaderMasks[i] = U32At(b + 40 + 4 * i);
  return true;
}

// Compression 3 of an OS/2 version 2 header is its own Huffman coding, not bit fields.
bool HasBitFields(const TDibHeader& h) {
  return h.Compression == dcBitFields && h.HeaderSize != kDibCoreHeaderBytes && h.HeaderSize != 64;
}

bool ReadMasks(TIEStream& s, TDibHeader& h) {
  uint32_t m[3];
  if (h.HeaderSize >= 52)
    std::copy(h.HeaderMasks, h.HeaderMasks + 3, m);
  else if (!s.ReadU32LE(m[0]) || !s.ReadU32LE(m[1]) || !s.ReadU32LE(m[2]))
    return false;
  h.Fields = TBitFields{TBitFieldChannel(m[0]), TBitFieldChannel(m[1]), TBitFieldChannel(m[2])};
  return true;
}

bool KnownDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

// The rows a reader did not reach, white: the first `done` stored rows were
// decoded, from the top when top-down, else from the bottom.
TDibReadResult FillRowsWhite(TIEWorkingBitmap& bitmap, bool topDown, int64_t done, TDibReadResult result) {
  const int64_t h = bitmap.Height();
  const int64_t from = topDown ? done : 0, to = topDown ? h : h - done;
  const uint8_t white = 0xFF;  // in 1-bit (index 1) and in 24-bit rows
  for (int64_t y = from; y < to; ++y) std::memset(bitmap.ScanLine(y), white, size_t(bitmap.RowBytes()));
  return result;
}

TDibReadResult ReadRows(TIEStream& s, const TDibHeader& h, TIEWorkingBitmap& bitmap, const TDibRleRowEvent& onRow) {
  const TDibRowReader rows(h, bitmap.PixelFormat());
  std::vector<uint8_t> buffer(static_cast<size_t>(rows.Straight() ? 0 : rows.StoredBytes()));
  for (int64_t i = 0; i < h.Height; ++i) {
    if (onRow && !onRow(i)) return FillRowsWhite(bitmap, h.TopDown, i, TDibReadResult::drCancelled);
    uint8_t* dst = bitmap.ScanLine(h.TopDown ? i : h.Height - 1 - i);
    uint8_t* src = rows.Straight() ? dst : buffer.data();
    if (!s.ReadExact(src, rows.StoredBytes())) return FillRowsWhite(bitmap, h.TopDown, i, TDibReadResult::drTruncated);
    if (!rows.Straight()) rows.Decode(src, dst);
  }
  return TDibReadResult::drComplete;
}

TDibReadResult ReadRle(TIEStream& s, const TDibHeader& h, int64_t length, TIEWorkingBitmap& bitmap,
                       const TDibRleRowEvent& onRow) {
  bitmap.Fill(kWhite);
  length = std::clamp<int64_t>(length, 0, s.Remaining());
  if (length == 0) length = s.Remaining();
  std::vector<uint8_t> data(static_cast<size_t>(length));
  length = s.Read(data.data(), length);
  const int bits = h.Compression == dcRLE8 ? 8 : 4;
  switch (DecodeDibRle(data.data(), length, bits, h.Palette, bitmap, onRow)) {
    case TDibRleResult::rlrComplete: return TDibReadResult::drComplete;
    case TDibRleResult::rlrCancelled: return TDibReadResult::drCancelled;
    default: return TDibReadResult::drTruncated;
  }
}

}  // namespace

bool ReadDibInfoHeader(TIEStream& s, TDibHeader& h) {
  const int64_t start = s.Position();
  uint32_t size = 0;
  if (!s.ReadU32LE(size)) return false;
  s.Seek(start, TSeekOrigin::soBeginning);
  h = TDibHeader();
  h.HeaderSize = size;
  if (size == kDibCoreHeaderBytes) return ReadCoreHeader(s, h);
  return size >= 16 && ReadLongHeader(s, start, h);
}

bool ReadDibTables(TIEStream& s, TDibHeader& h) {
  h.Fields = DefaultBitFields(h.Bits);
  if (HasBitFields(h) && !ReadMasks(s, h)) return false;
  const bool core = h.HeaderSize == kDibCoreHeaderBytes;
  const int64_t count = h.ColorsUsed ? h.ColorsUsed : h.Bits <= 8 ? int64_t(1) << h.Bits : 0;
  if (h.Bits <= 8) return ReadPaletteEntries(s, count, core ? 3 : 4, h.Palette);
  // A table before colour rows only helps displays of few colours: skipped.
  s.Seek(count * 4, TSeekOrigin::soCurrent);
  return true;
}

const char* DibLayoutProblem(const TDibHeader& h) {
  if (h.Width <= 0 || h.Height <= 0) return "bad image size";
  if (!ImageBytes(h.Width, h.Height, 24)) return "image too large";
  if (!KnownDepth(h.Bits)) return "unsupported bit count";
  switch (h.Compression) {
    case dcRGB: return nullptr;
    case dcRLE8:
    case dcRLE4:
      if (h.Bits != (h.Compression == dcRLE8 ? 8 : 4)) return "RLE at another bit count";
      return h.TopDown ? "top-down RLE data" : nullptr;
    case dcBitFields:
      return HasBitFields(h) && (h.Bits == 16 || h.Bits == 32) ? nullptr : "unsupported bit fields";
    default: return "unsupported compression";
  }
}

TIEPixelFormat DibPixelFormat(const TDibHeader& h, bool everyTable) {
  const bool blackWhite = h.Palette.IsBlackWhite() || h.Palette.IsWhiteBlack();
  return h.Bits == 1 && (everyTable || blackWhite) ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit;
}

TDibRowReader::TDibRowReader(const TDibHeader& h, TIEPixelFormat format)
    : decoder_(h.Bits, h.Palette, h.Fields),
      width_(h.Width),
      stored_(RowLength(h.Width, h.Bits)),
      bilevel_(format == TIEPixelFormat::pf1bit),
      invert_(bilevel_ && GreyLevel(h.Palette.Colors[0]) > GreyLevel(h.Palette.Colors[1])),
      straight_(h.Bits == 24 || (bilevel_ && !invert_)) {}

void TDibRowReader::Decode(const uint8_t* src, uint8_t* dst) const {
  if (bilevel_)
    CopyBilevelRow(src, dst, stored_, invert_);
  else
    decoder_.Decode(src, width_, dst);
}

TDibReadResult ReadDibPixels(TIEStream& s, const TDibHeader& h, TIEWorkingBitmap& bitmap, int64_t rleBytes,
                             const TDibRleRowEvent& onRow) {
  return IsDibRle(h) ? ReadRle(s, h, rleBytes, bitmap, onRow) : ReadRows(s, h, bitmap, onRow);
}

}  // namespace quillet
