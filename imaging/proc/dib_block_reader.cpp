// Reading a device-independent bitmap block through the shared DIB reader, and
// its YUV layouts; every part is checked to lie inside the bytes given before
// the bitmap is touched.
#include "imaging/core/bits.h"
#include "imaging/core/dib_reader.h"
#include "imaging/core/failure_guard.h"
#include "imaging/core/math.h"
#include "imaging/proc/dib_block.h"
#include "imaging/proc/dib_yuv.h"

namespace quillet {

namespace {

// The block's header and tables, read from `s`, with `s` left at the pixel
// data that follows them; the YUV layout the compression names, if any.
struct TBlockParts {
  TDibHeader header;
  const TYuvLayout* yuv = nullptr;
};

TIEPixelFormat FormatOf(const TBlockParts& l) {
  return l.yuv ? TIEPixelFormat::pf24bit : DibPixelFormat(l.header, true);
}

// Header, masks and colour table, every part inside the block. YUV data
// follows the header directly.
bool ParseBlock(TIEMemoryStream& s, TBlockParts& l) {
  if (!ReadDibInfoHeader(s, l.header) || s.Position() > s.Size()) return false;
  if (l.header.HeaderSize != kDibCoreHeaderBytes) l.yuv = FindYuvLayout(l.header.Compression);
  if (l.yuv) return true;
  return ReadDibTables(s, l.header) && s.Position() <= s.Size();
}

bool Supported(const TBlockParts& l) {
  const TDibHeader& h = l.header;
  if (!l.yuv) return DibLayoutProblem(h) == nullptr;
  return h.Width > 0 && h.Height > 0 && ImageBytes(h.Width, h.Height, 24);
}

// Bytes the pixel data needs; RLE data is checked while it is decoded.
std::optional<int64_t> DataBytes(const TBlockParts& l) {
  const TDibHeader& h = l.header;
  if (l.yuv) return YuvDataBytes(*l.yuv, h.Width, h.Height);
  if (IsDibRle(h)) return 0;
  return RowLength(h.Width, h.Bits) * h.Height;
}

bool Decode(const TBlockParts& l, TIEMemoryStream& data, TIEWorkingBitmap& out) {
  if (!l.yuv) return ReadDibPixels(data, l.header, out) == TDibReadResult::drComplete;
  DecodeYuv(*l.yuv, data.Data() + data.Position(), !l.header.TopDown, out);
  return true;
}

// Decodes into `bitmap` itself when it has the block's size and format and
// the decoding cannot stop half-way; else into a new bitmap that replaces it
// only once the decoding has succeeded.
bool DecodeInto(const TBlockParts& l, TIEMemoryStream& data, TIEWorkingBitmap& bitmap) {
  const TDibHeader& h = l.header;
  const TIEPixelFormat format = FormatOf(l);
  if (!IsDibRle(h) && bitmap.Width() == h.Width && bitmap.Height() == h.Height && bitmap.PixelFormat() == format) {
    Decode(l, data, bitmap);
    bitmap.MarkModified();
    return true;
  }
  TIEWorkingBitmap fresh;
  if (!fresh.Resize(h.Width, h.Height, format) || !Decode(l, data, fresh)) return false;
  bitmap.Replace(std::move(fresh));
  return true;
}

bool ReadBlock(std::span<const uint8_t> block, TIEWorkingBitmap& bitmap, std::span<const uint8_t> pixels) {
  TIEMemoryStream s(block.data(), int64_t(block.size()));
  TBlockParts l;
  if (!ParseBlock(s, l) || !Supported(l)) return false;
  TIEMemoryStream apart(pixels.data(), int64_t(pixels.size()));
  TIEMemoryStream& data = pixels.empty() ? s : apart;
  const std::optional<int64_t> need = DataBytes(l);
  if (!need || *need > data.Remaining()) return false;
  return DecodeInto(l, data, bitmap);
}

}  // namespace

bool ReadDibBlock(std::span<const uint8_t> block, TIEWorkingBitmap& bitmap, std::span<const uint8_t> pixels) {
  bool ok = false;
  return !FailureOf([&] { ok = ReadBlock(block, bitmap, pixels); }) && ok;
}

}  // namespace quillet
