// Nearest-neighbour row painters for 24-bit and 1-bit sources, opaque and
// alpha-blended; whole rows at 100 % are one block move.
#include "imaging/view/image_nearest.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/mask_blend.h"
#include "imaging/view/pixel_rows.h"

namespace quillet {

namespace {

constexpr int kFixedBits = 14;
constexpr int64_t kOne = int64_t(1) << kFixedBits;


// One client row span of n pixels and the source column of each, worked out
// once for all rows: pixel i shows column left + (acc + i * step) >> 14.
struct TColumns {
  int64_t n = 0;
  // At 100 % the columns run on from `first` and `x` stays empty.
  bool oneToOne = false;
  int64_t first = 0;
  std::vector<int64_t> x;
  // Leading pixels whose 24-bit move may be done as four bytes: the fourth
  // byte lands on the next pixel, written after, and is read inside the row.
  int64_t quads = 0;

  TColumns(int64_t left, int64_t step, int64_t acc, int64_t count, int64_t sourceRowBytes) : n(count) {
    oneToOne = step == kOne;
    first = left + (acc >> kFixedBits);
    if (oneToOne) return;
    x.resize(size_t(n));
    for (int64_t i = 0; i < n; ++i, acc += step) x[size_t(i)] = left + (acc >> kFixedBits);
    quads = std::max<int64_t>(n - 1, 0);
    while (quads > 0 && 3 * x[size_t(quads - 1)] + 4 > sourceRowBytes) --quads;
  }

  int64_t Leftmost() const { return first; }
  int64_t Rightmost() const { return n == 0 ? first - 1 : oneToOne ? first + n - 1 : x.back(); }
};

void Row24(uint8_t* dst, const uint8_t* src, const TColumns& c) {
  if (c.oneToOne) {
    std::memcpy(dst, src + 3 * c.first, size_t(c.n * 3));
    return;
  }
  const int64_t* x = c.x.data();
  int64_t i = 0;
  for (; i < c.quads; ++i) std::memcpy(dst + 3 * i, src + 3 * x[i], 4);
  for (; i < c.n; ++i) std::memcpy(dst + 3 * i, src + 3 * x[i], 3);
}

// Eight client pixels for every byte of a black-and-white row.
const std::array<std::array<uint8_t, 24>, 256>& ExpandTable() {
  static const auto table = [] {
    std::array<std::array<uint8_t, 24>, 256> t{};
    for (int v = 0; v < 256; ++v)
      for (int i = 0; i < 8; ++i) std::memset(&t[size_t(v)][size_t(3 * i)], (v >> (7 - i)) & 1 ? 255 : 0, 3);
    return t;
  }();
  return table;
}

inline void PutBit(uint8_t* dst, bool set) { std::memset(dst, set ? 255 : 0, 3); }

// At 100 %: single pixels up to a byte boundary, then whole bytes by table.
void Row1OneToOne(uint8_t* dst, const uint8_t* src, int64_t x, int64_t n) {
  const int64_t end = x + n;
  for (; x < end && (x & 7); ++x, dst += 3) PutBit(dst, GetBit(src, x));
  const auto& table = ExpandTable();
  for (; x + 8 <= end; x += 8, dst += 24) std::memcpy(dst, table[src[x >> 3]].data(), 24);
  for (; x < end; ++x, dst += 3) PutBit(dst, GetBit(src, x));
}

// Each channel on its own, so that a coloured background keeps its colour.
void Row1Alpha(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, const TColumns& c) {
  for (int64_t i = 0; i < c.n; ++i, dst += 3) {
    const int64_t x = c.oneToOne ? c.first + i : c.x[size_t(i)];
    const int a = alpha[x], s = GetBit(src, x) ? 255 : 0;
    for (int k = 0; k < 3; ++k) dst[k] = BlendChannel(dst[k], s, a);
  }
}

// Asks for the cache lines of bytes [from, to) of a row.
void Prefetch(const uint8_t* row, int64_t from, int64_t to) {
  for (int64_t i = from; i < to; i += 64) __builtin_prefetch(row + i);
}

// Asks for the span of the next source row (and its alpha) while this one is
// painted. The hardware prefetcher follows runs of adjacent lines but stops
// at every page and takes a while to start on each row: after rows that
// follow each other (the alpha plane runs bottom-up) the first pixels get it
// going; after skipped rows, as a reduced view has, the whole span is asked for.
void PrefetchRow(const TIEWorkingBitmap& bitmap, const TIEMask* alpha, const TColumns& c, int64_t row,
                 bool skipped) {
  constexpr int64_t kStartPixels = 256;
  const int64_t left = c.Leftmost(), span = c.Rightmost() + 1 - left;
  const int64_t pixels = skipped ? span : std::min(span, kStartPixels);
  Prefetch(bitmap.ScanLine(row), 3 * left, 3 * (left + pixels));
  if (alpha) Prefetch(alpha->ScanLine(row), left, left + pixels);
}

// Paints client rows of one span from source rows. Scaled rows are gathered
// into scratch first: 1-bit ones as packed bits that the table expands,
// 24-bit ones under alpha as pixels that are then blended as at 100 %.
class TRowPainter {
 public:
  TRowPainter(TColumns columns, const TIEWorkingBitmap& bitmap, bool blends)
      : c_(std::move(columns)), mono_(bitmap.PixelFormat() == TIEPixelFormat::pf1bit), sourceRowBytes_(bitmap.RowBytes()) {
    if (mono_ && !c_.oneToOne) gather_.emplace(c_.x, bitmap.RowBytes());
    scratch_.resize(size_t(mono_ ? (c_.n + 7) / 8 : blends ? 4 * c_.n : 0));
  }

  const TColumns& Columns() const { return c_; }

  // Over a solid `underlay` an enlarged row is blended once per source pixel,
  // into a row of the source's shape, and then spread like an opaque row:
  // every client pixel of one source pixel gets the same blend.
  void Paint(uint8_t* dst, const uint8_t* src, const uint8_t* alpha, const TBGR* underlay) {
    if (!underlay) return Paint(dst, src, alpha);
    if (!alpha || mono_ || c_.oneToOne || Spanned() >= c_.n) {
      FillSpan(dst, 0, c_.n, *underlay);
      return Paint(dst, src, alpha);
    }
    sourceRow_.resize(size_t(sourceRowBytes_));
    uint8_t* blended = sourceRow_.data() + 3 * c_.Leftmost();
    FillSpan(blended, 0, Spanned(), *underlay);
    BlendRow24(blended, src + 3 * c_.Leftmost(), alpha + c_.Leftmost(), Spanned());
    Row24(dst, sourceRow_.data(), c_);
  }

  void Paint(uint8_t* dst, const uint8_t* src, const uint8_t* alpha) {
    if (mono_) return alpha ? Row1Alpha(dst, src, alpha, c_) : Row1(dst, src);
    if (!alpha) return Row24(dst, src, c_);
    if (c_.oneToOne) return BlendRow24(dst, src + 3 * c_.first, alpha + c_.first, c_.n);
    uint8_t* alphas = scratch_.data() + 3 * c_.n;
    for (int64_t i = 0; i < c_.n; ++i) alphas[i] = alpha[c_.x[size_t(i)]];
    Row24(scratch_.data(), src, c_);
    BlendRow24(dst, scratch_.data(), alphas, c_.n);
  }

 private:
  int64_t Spanned() const { return c_.Rightmost() - c_.Leftmost() + 1; }

  void Row1(uint8_t* dst, const uint8_t* src) {
    if (c_.oneToOne) return Row1OneToOne(dst, src, c_.first, c_.n);
    gather_->Gather(src, scratch_.data());
    Row1OneToOne(dst, scratch_.data(), 0, c_.n);
  }

  TColumns c_;
  bool mono_;
  int64_t sourceRowBytes_;
  std::optional<TBitGather> gather_;
  std::vector<uint8_t> scratch_;
  std::vector<uint8_t> sourceRow_;  // blended source pixels, where the row has them
};

bool Paintable(const TIEImagePlacement& p, const TIEWorkingBitmap& bitmap, const TIEMask* alpha) {
  const TIEPixelFormat f = bitmap.PixelFormat();
  if (f != TIEPixelFormat::pf1bit && f != TIEPixelFormat::pf24bit) return false;
  if (p.SourceWidth <= 0 || p.SourceHeight <= 0 || p.Dest.Empty() || p.SourceLeft < 0 || p.SourceTop < 0) return false;
  if (p.SourceLeft + p.SourceWidth > bitmap.Width() || p.SourceTop + p.SourceHeight > bitmap.Height()) return false;
  return !alpha || (alpha->BitsPerPixel() == 8 && alpha->Width() == bitmap.Width() && alpha->Height() == bitmap.Height());
}

}  // namespace

bool DrawImageNearest(TIERawTarget& target, const TIERect& clip, const TIEImagePlacement& p,
                      const TIEWorkingBitmap& bitmap, const TIEMask* alpha, bool reuseRows, const TBGR* underlay) {
  if (!target.Bits || !Paintable(p, bitmap, alpha)) return false;
  const TIERect area = Intersect(Intersect(p.Dest, clip), Bounds(target));
  if (area.Empty()) return true;
  const int64_t rowStep = (p.SourceHeight << kFixedBits) / p.Dest.Height();
  const int64_t colStep = (p.SourceWidth << kFixedBits) / p.Dest.Width();
  const bool mono = bitmap.PixelFormat() == TIEPixelFormat::pf1bit;
  TRowPainter painter(TColumns(p.SourceLeft, colStep, colStep * (area.Left - p.Dest.Left), area.Width(),
                               bitmap.RowBytes()),
                      bitmap, alpha != nullptr);
  const TColumns& columns = painter.Columns();

  int64_t lastSource = -1;
  const uint8_t* lastRow = nullptr;
  for (int64_t y = area.Top; y < area.Bottom; ++y) {
    const int64_t sy = p.SourceTop + ((rowStep * (y - p.Dest.Top)) >> kFixedBits);
    uint8_t* dst = PixelAt(target, area.Left, y);
    const int64_t next = p.SourceTop + ((rowStep * (y + 1 - p.Dest.Top)) >> kFixedBits);
    if (y + 1 < area.Bottom && next != sy && !mono) PrefetchRow(bitmap, alpha, columns, next, next > sy + 1);
    if (reuseRows && sy == lastSource) {
      std::memcpy(dst, lastRow, size_t(columns.n * 3));
    } else {
      painter.Paint(dst, bitmap.ScanLine(sy), alpha ? alpha->ScanLine(sy) : nullptr, underlay);
      lastSource = sy;
    }
    lastRow = dst;
  }
  return true;
}

}  // namespace quillet
