// Strips and tiles of a TIFF page: read, decompressed and converted row by row.
#include "imaging/io/formats/tiff/tiff_strips.h"

#include <algorithm>
#include <optional>

#include "imaging/core/bits.h"
#include "imaging/core/mask.h"
#include "imaging/io/formats/tiff/ccitt_decoder.h"
#include "imaging/io/formats/tiff/packbits.h"

namespace quillet {

namespace {

void ReverseBits(uint8_t* bytes, int64_t count) {
  for (int64_t i = 0; i < count; ++i) bytes[i] = ReverseBits8(bytes[i]);
}

// The rows of one strip or tile, decompressed.
class TRowSource {
 public:
  TRowSource(const TTiffPage& page, const TTiffLzwDecoder& lzw, int64_t width, int samples)
      : page_(page), lzw_(lzw), rowBytes_(page.RowBytes(width, samples)) {
    if (page.Ccitt()) ccitt_.emplace(int32_t(width), page.Compression, page.T4Options);
    if (page.Compression != tcLzw) row_.resize(size_t(rowBytes_));
  }

  // Takes the strip at `offset` (`count` bytes; 0: up to the end of the
  // data); false when the offset lies outside the data. Uncompressed rows
  // are read one by one as they are asked for, the other strips whole.
  bool Load(TTiffFile& file, uint32_t offset, uint32_t count) {
    const int64_t left = file.Size() - int64_t(offset);
    if (left <= 0) return false;
    const int64_t size = count == 0 ? left : std::min<int64_t>(count, left);
    file_ = &file;
    offset_ = offset;
    size_ = size;
    pos_ = 0;
    if (page_.Compression == tcNone) return true;
    data_.resize(size_t(size));
    if (!file.ReadAt(offset, data_.data(), size)) return false;
    if (page_.FillOrder == 2) ReverseBits(data_.data(), size);
    lzwState_.reset();
    if (ccitt_) ccitt_->StartStrip(data_.data(), size);
    return true;
  }

  // The next row, or nullptr when the strip holds no more.
  const uint8_t* Next() {
    const uint8_t* begin = data_.data();
    const int64_t size = int64_t(data_.size());
    switch (page_.Compression) {
      case tcNone:
        if (size_ - pos_ < rowBytes_ || !file_->ReadAt(offset_ + pos_, row_.data(), rowBytes_)) return nullptr;
        if (page_.FillOrder == 2) ReverseBits(row_.data(), rowBytes_);
        pos_ += rowBytes_;
        return row_.data();
      case tcPackBits: {
        const uint8_t* src = begin + pos_;
        const bool full = UnpackBitsRow(src, begin + size, row_.data(), rowBytes_);
        pos_ = src - begin;
        return full ? row_.data() : nullptr;
      }
      case tcLzw: return lzw_(begin, size, rowBytes_, lzwState_);
      default:
        ccitt_->DecodeRow(row_.data());
        return row_.data();
    }
  }

 private:
  const TTiffPage& page_;
  const TTiffLzwDecoder& lzw_;
  int64_t rowBytes_;
  TTiffFile* file_ = nullptr;
  int64_t offset_ = 0, size_ = 0;  // the strip's place in the data
  std::vector<uint8_t> data_, row_;
  int64_t pos_ = 0;
  std::unique_ptr<TTiffLzwState> lzwState_;
  std::optional<TCcittDecoder> ccitt_;
};

// Where converted rows go, and what the read has finished.
struct TTarget {
  TTiffFile& file;
  const TTiffPage& page;
  const TTiffRowPlan& plan;
  const TTiffLzwDecoder& lzw;
  TIEWorkingBitmap& bitmap;
  TIEMask* alpha;
  const TIOProgress& progress;
  std::vector<uint8_t> work = {};
  int64_t rowsDone = 0;  // rows from the top that are complete

  uint8_t* AlphaRow(int64_t y) const { return alpha && plan.Alpha ? alpha->ScanLine(y) : nullptr; }
  void Put(const uint8_t* row, int64_t width, int samples, int64_t count, int64_t x, int64_t y) {
    row = PrepareRow(plan, row, width, samples, work);
    ConvertRow(plan, row, count, bitmap.ScanLine(y), x, AlphaRow(y));
  }
  uint32_t CountOf(size_t i) const { return i < page.Counts.size() ? page.Counts[i] : 0; }
  bool Load(TRowSource& source, size_t i) {
    if (i < page.Offsets.size() && source.Load(file, page.Offsets[i], CountOf(i))) return true;
    progress.Fail("strip or tile data outside the file");
    return false;
  }
  void Damaged() const { progress.Fail("damaged strip or tile data"); }
};

int64_t CeilDiv(int64_t a, int64_t b) { return (a + b - 1) / b; }

void DecodeStrips(TTarget& t) {
  const int64_t w = t.bitmap.Width(), h = t.bitmap.Height();
  const int64_t rowsPerStrip = std::max<int64_t>(t.page.RowsPerStrip, 1);
  TRowSource source(t.page, t.lzw, w, t.page.Samples);
  for (size_t i = 0; t.rowsDone < h; ++i) {
    if (!t.Load(source, i)) return;
    const int64_t end = std::min(h, t.rowsDone + rowsPerStrip);
    for (; t.rowsDone < end; ++t.rowsDone) {
      const uint8_t* row = source.Next();
      if (!row) return t.Damaged();
      t.Put(row, w, t.page.Samples, w, 0, t.rowsDone);
      t.progress.Report(int((t.rowsDone + 1) * 100 / h));
    }
    if (t.progress.Aborted()) return;
  }
}

// Three planes of 8-bit samples: strip i of each plane together.
void DecodePlanes(TTarget& t) {
  const int64_t w = t.bitmap.Width(), h = t.bitmap.Height();
  const int64_t rowsPerStrip = std::max<int64_t>(t.page.RowsPerStrip, 1);
  const size_t strips = size_t(CeilDiv(h, rowsPerStrip));
  std::vector<TRowSource> planes;
  planes.reserve(3);
  for (int p = 0; p < 3; ++p) planes.emplace_back(t.page, t.lzw, w, 1);
  std::vector<uint8_t> pixels(size_t(3 * w)), planeWork;
  for (size_t i = 0; t.rowsDone < h; ++i) {
    for (size_t p = 0; p < 3; ++p)
      if (!t.Load(planes[p], p * strips + i)) return;
    const int64_t end = std::min(h, t.rowsDone + rowsPerStrip);
    for (; t.rowsDone < end; ++t.rowsDone) {
      for (int p = 0; p < 3; ++p) {
        const uint8_t* row = planes[size_t(p)].Next();
        if (!row) return t.Damaged();
        row = PrepareRow(t.plan, row, w, 1, planeWork);
        for (int64_t x = 0; x < w; ++x) pixels[size_t(3 * x + p)] = row[x];
      }
      ConvertRow(t.plan, pixels.data(), w, t.bitmap.ScanLine(t.rowsDone), 0, nullptr);
      t.progress.Report(int((t.rowsDone + 1) * 100 / h));
    }
    if (t.progress.Aborted()) return;
  }
}

// Tiles left to right, top to bottom, each decoded into its place; the
// parts past the image's right and bottom edges are dropped.
void DecodeTiles(TTarget& t) {
  const int64_t w = t.bitmap.Width(), h = t.bitmap.Height();
  const int64_t tw = t.page.TileWidth, tl = t.page.TileLength;
  const int64_t across = CeilDiv(w, tw), tiles = across * CeilDiv(h, tl);
  TRowSource source(t.page, t.lzw, tw, t.page.Samples);
  for (int64_t i = 0; i < tiles; ++i) {
    const int64_t x = i % across * tw, y = i / across * tl;
    const int64_t rows = std::min(tl, h - y), count = std::min(tw, w - x);
    if (!t.Load(source, size_t(i))) return;
    for (int64_t r = 0; r < rows; ++r) {
      const uint8_t* row = source.Next();
      if (!row) return t.Damaged();
      t.Put(row, tw, t.page.Samples, count, x, y + r);
    }
    if (i % across == across - 1) t.rowsDone = y + rows;
    t.progress.Report(int((i + 1) * 100 / tiles));
    if (t.progress.Aborted()) return;
  }
}

}  // namespace

void DecodePixels(TTiffFile& file, const TTiffPage& page, const TTiffRowPlan& plan, const TTiffLzwDecoder& lzw,
                  TIEWorkingBitmap& bitmap, TIEMask* alpha, const TIOProgress& progress) {
  TTarget target{file, page, plan, lzw, bitmap, alpha, progress};
  if (page.Tiled)
    DecodeTiles(target);
  else if (page.Planar == 2)
    DecodePlanes(target);
  else
    DecodeStrips(target);
  if (target.rowsDone < bitmap.Height()) bitmap.FillRows(target.rowsDone, bitmap.Height(), kWhite);
  if (alpha && plan.Alpha) alpha->RecomputeFull();
}

}  // namespace quillet
