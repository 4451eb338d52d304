// The TIFF writer: one page in one strip, as a new file or inserted into the
// directory chain of an existing little-endian file. Bilevel pages are
// coded with any compression, colour pages (RGB, CMYK or CIELAB) with none,
// LZW with the horizontal predictor, or PackBits.
#include <algorithm>
#include <memory>
#include <vector>

#include "imaging/core/engine_settings.h"
#include "imaging/core/lab.h"
#include "imaging/io/byte_rows.h"
#include "imaging/io/formats/tiff/ccitt_encoder.h"
#include "imaging/io/formats/tiff/packbits.h"
#include "imaging/io/formats/tiff/tiff_codec.h"
#include "imaging/io/formats/tiff/tiff_entries.h"
#include "imaging/io/formats/tiff/tiff_file.h"
#include "imaging/io/formats/tiff/tiff_page.h"
#include "imaging/io/writer_source.h"

namespace quillet {

namespace {

constexpr int64_t kFlushBytes = 1 << 16;

struct TPagePlan {
  TWriterSource source;
  const TIEWorkingBitmap* image = nullptr;  // 1-bit when bilevel, else 24-bit
  bool bilevel = false;
  uint32_t compression = tcNone;
  bool twoD = false;  // Group 3 two-dimensional
  uint32_t photometric = tpRGB;
  int samples = 3;
  bool predictor = false;
  TTiffLzwEncoder lzw;

  bool Ccitt() const { return compression >= tcModifiedHuffman && compression <= tcGroup4; }
};

uint32_t CompressionTag(TIOTIFFCompression c) {
  switch (c) {
    case TIOTIFFCompression::CCITT1D: return tcModifiedHuffman;
    case TIOTIFFCompression::G3FAX1D:
    case TIOTIFFCompression::G3FAX2D: return tcGroup3;
    case TIOTIFFCompression::G4FAX: return tcGroup4;
    case TIOTIFFCompression::LZW: return tcLzw;
    case TIOTIFFCompression::PACKBITS: return tcPackBits;
    default: return tcNone;
  }
}

// Bilevel pages say BlackIsZero, rows as stored, unless a fax compression
// codes them, whose pages say WhiteIsZero.
void Plan(const TIOWriteArgs& a, TPagePlan& plan) {
  const TIOParamsVals& p = a.Params;
  plan.bilevel = p.BitsPerSample == 1 && p.SamplesPerPixel == 1;
  plan.source = plan.bilevel ? BilevelSource(a.Bitmap) : TrueColourSource(a.Bitmap);
  plan.image = plan.source.Image;
  plan.compression = CompressionTag(p.TiffCompression);
  plan.twoD = p.TiffCompression == TIOTIFFCompression::G3FAX2D;
  if (!plan.bilevel && plan.Ccitt()) plan.compression = tcNone;
  if (plan.compression == tcLzw) {
    plan.lzw = p.TiffLzwEncoder ? p.TiffLzwEncoder : LzwSlots().TiffEncoder;
    if (!plan.lzw) plan.compression = tcNone;
  }
  if (plan.bilevel) {
    plan.photometric = plan.Ccitt() ? tpWhiteIsZero : tpBlackIsZero;
    plan.samples = 1;
    return;
  }
  plan.predictor = plan.compression == tcLzw;
  switch (p.TiffPhotometric) {
    case TIOTIFFPhotometInterpret::CMYK: plan.photometric = tpCMYK, plan.samples = 4; break;
    case TIOTIFFPhotometInterpret::CIELAB: plan.photometric = tpCIELab, plan.samples = 3; break;
    default: plan.photometric = tpRGB, plan.samples = 3; break;
  }
}

// One colour row of the 24-bit image as the page's samples.
void ColourRow(const TPagePlan& plan, const uint8_t* src, int64_t width, uint8_t* out) {
  switch (plan.photometric) {
    case tpCMYK:
      for (int64_t x = 0; x < width; ++x, src += 3, out += 4) {
        const int r = src[2], g = src[1], b = src[0];
        const int k = std::max({r, g, b, 1});
        out[0] = uint8_t(255 - r * 255 / k), out[1] = uint8_t(255 - g * 255 / k), out[2] = uint8_t(255 - b * 255 / k);
        out[3] = uint8_t(255 - std::max({r, g, b}));
      }
      break;
    case tpCIELab:
      for (int64_t x = 0; x < width; ++x, src += 3, out += 3) {
        const TIELab lab = RGBToLab(TBGR{src[0], src[1], src[2]});
        out[0] = lab.L, out[1] = uint8_t(lab.a), out[2] = uint8_t(lab.b);
      }
      break;
    default: SwapRedBlueRow(src, out, width); break;
  }
}

// Each sample after the first pixel as its difference from the sample left
// of it, into `out`; a forward loop over two rows, which the compiler widens.
void Differences(const uint8_t* row, uint8_t* out, int64_t bytes, int samples) {
  const int64_t first = std::min<int64_t>(samples, bytes);
  for (int64_t i = 0; i < first; ++i) out[i] = row[i];
  for (int64_t i = first; i < bytes; ++i) out[i] = uint8_t(row[i] - row[i - samples]);
}

// Codes the rows of one strip into the stream.
class TStripCoder {
 public:
  TStripCoder(const TPagePlan& plan, TIEStream& stream, int64_t width)
      : plan_(plan), stream_(stream) {
    if (plan.Ccitt()) ccitt_ = std::make_unique<TCcittEncoder>(int32_t(width), plan.compression, plan.twoD, coded_);
  }

  void Row(const uint8_t* row, int64_t bytes) {
    switch (plan_.compression) {
      case tcNone: stream_.WriteExact(row, bytes); return;
      case tcLzw: plan_.lzw(row, bytes, stream_, lzwState_); return;
      case tcPackBits: PackBitsRow(row, bytes, coded_); break;
      default: ccitt_->EncodeRow(row); break;
    }
    if (int64_t(coded_.size()) >= kFlushBytes) Flush();
  }

  void Finish() {
    if (plan_.compression == tcLzw) plan_.lzw(nullptr, 0, stream_, lzwState_);
    if (ccitt_) ccitt_->Finish();
    Flush();
  }

 private:
  void Flush() {
    stream_.WriteExact(coded_.data(), int64_t(coded_.size()));
    coded_.clear();
  }

  const TPagePlan& plan_;
  TIEStream& stream_;
  std::vector<uint8_t> coded_;
  std::unique_ptr<TCcittEncoder> ccitt_;
  std::unique_ptr<TTiffLzwState> lzwState_;
};

// The strip, rows from the top; false when cancelled.
bool WritePixels(const TPagePlan& plan, TIEStream& stream, const TIOProgress& progress) {
  const TIEWorkingBitmap& image = *plan.image;
  const int64_t w = image.Width(), h = image.Height();
  const int64_t bytes = plan.bilevel ? (w + 7) / 8 : w * plan.samples;
  std::vector<uint8_t> row(plan.bilevel ? 0 : size_t(bytes)), diffs(plan.predictor ? size_t(bytes) : 0);
  TStripCoder coder(plan, stream, w);
  for (int64_t y = 0; y < h; ++y) {
    progress.Report(int(y * 100 / h));
    if (progress.Aborted()) return false;
    if (plan.bilevel) {
      coder.Row(image.ScanLine(y), bytes);
      continue;
    }
    ColourRow(plan, image.ScanLine(y), w, row.data());
    if (plan.predictor) Differences(row.data(), diffs.data(), bytes, plan.samples);
    coder.Row(plan.predictor ? diffs.data() : row.data(), bytes);
  }
  coder.Finish();
  return true;
}

uint32_t NonNegative(int64_t v) { return uint32_t(std::clamp<int64_t>(v, 0, UINT32_MAX)); }

void AddEntries(const TPagePlan& plan, const TIOParamsVals& p, TTiffEntries& e) {
  const TIEWorkingBitmap& image = *plan.image;
  e.Long(256, uint32_t(image.Width()));
  e.Long(257, uint32_t(image.Height()));
  e.Shorts(258, std::vector<uint16_t>(size_t(plan.samples), plan.bilevel ? 1 : 8));
  e.Shorts(259, {uint16_t(plan.compression)});
  e.Shorts(262, {uint16_t(plan.photometric)});
  if (!p.TiffDocumentName.empty()) e.Ascii(269, p.TiffDocumentName, true);
  if (!p.TiffImageDescription.empty()) e.Ascii(270, p.TiffImageDescription, true);
  e.Long(273, 0);
  e.Shorts(277, {uint16_t(plan.samples)});
  e.Long(278, uint32_t(image.Height()));
  e.Long(279, 0);
  e.Rational(282, NonNegative(p.DpiX), 1);
  e.Rational(283, NonNegative(p.DpiY), 1);
  if (!p.TiffPageName.empty()) e.Ascii(285, p.TiffPageName, false);
  e.Rational(286, NonNegative(int64_t(p.TiffXPos) * 10000), 10000);
  e.Rational(287, NonNegative(int64_t(p.TiffYPos) * 10000), 10000);
  if (plan.compression == tcGroup3) e.Long(292, plan.twoD ? 1 : 0);
  e.Shorts(296, {2});
  if (p.TiffPageNumber != 0 || p.TiffPageCount != 0)
    e.Shorts(297, {uint16_t(p.TiffPageNumber), uint16_t(p.TiffPageCount)});
  if (plan.predictor) e.Shorts(317, {2});
}

// Writes the page at the stream position (offsets counted from `base`),
// its directory linking to `next`; the directory's offset, or -1 on failure.
int64_t WritePage(TIOWriteArgs& a, const TPagePlan& plan, int64_t base, uint32_t next) {
  TIEStream& s = a.Stream;
  TTiffEntries entries;
  AddEntries(plan, a.Params, entries);
  if (!entries.WriteValues(s, base, true)) return -1;
  PadToWord(s, base);
  const int64_t start = s.Position() - base;
  if (!WritePixels(plan, s, a.Progress)) return -1;
  const int64_t end = s.Position() - base;
  if (end > int64_t(UINT32_MAX)) return -1;
  entries.SetLong(273, uint32_t(start));
  entries.SetLong(279, uint32_t(end - start));
  if (!entries.WriteValues(s, base, false)) return -1;
  return entries.WriteDirectory(s, base, next);
}

void Fail(TIOWriteArgs& a, const char* why) { a.Progress.Fail(why); }

void WriteTiff(TIOWriteArgs& a) {
  TPagePlan plan;
  Plan(a, plan);
  TIEStream& s = a.Stream;
  const int64_t base = s.Position();
  const uint8_t placeholder[8] = {};
  s.WriteExact(placeholder, 8);
  const int64_t directory = WritePage(a, plan, base, 0);
  if (a.Progress.Aborted()) return;
  if (directory < 0) return Fail(a, "too large for TIFF offsets");
  const int64_t end = s.Position();
  s.Seek(base, TSeekOrigin::soBeginning);
  s.WriteU8('I');
  s.WriteU8('I');
  s.WriteU16LE(42);
  s.WriteU32LE(uint32_t(directory));
  s.Seek(end, TSeekOrigin::soBeginning);
  if (s.Failed()) Fail(a, "write error");
}

int InsertTiff(TIOWriteArgs& a) {
  TIEStream& s = a.Stream;
  const int64_t base = s.Position();
  TTiffFile file(s, base, s.Size() - base);
  if (!file.ReadHeader() || file.BigEndian()) return Fail(a, "pages are inserted into little-endian TIFF files only"), 0;
  TTiffChain chain = WalkDirectories(file, a.Params.TiffImageIndex);
  if (chain.LinkPosition < 0) chain.LinkPosition = 4, chain.LinkValue = file.FirstDirectory();
  TPagePlan plan;
  Plan(a, plan);
  s.Seek(0, TSeekOrigin::soEnd);
  PadToWord(s, base);
  const int64_t directory = WritePage(a, plan, base, chain.LinkValue);
  if (a.Progress.Aborted()) return 0;
  if (directory < 0) return Fail(a, "too large for TIFF offsets"), 0;
  const int64_t end = s.Position();
  s.Seek(base + chain.LinkPosition, TSeekOrigin::soBeginning);
  s.WriteU32LE(uint32_t(directory));
  s.Seek(end, TSeekOrigin::soBeginning);
  if (s.Failed()) return Fail(a, "write error"), 0;
  return chain.Count + 1;
}

bool Writable(TIOWriteArgs& a) {
  if (a.Bitmap.Empty()) return Fail(a, "empty image"), false;
  if (a.Bitmap.Width() > INT32_MAX || a.Bitmap.Height() > INT32_MAX) return Fail(a, "image too large"), false;
  return true;
}

}  // namespace

void WriteTIFFStream(TIOWriteArgs& args) {
  if (Writable(args)) args.Progress.Guard([&] { WriteTiff(args); });
}

int InsertTIFFStream(TIOWriteArgs& args) {
  int pages = 0;
  if (Writable(args)) args.Progress.Guard([&] { pages = InsertTiff(args); });
  return args.Progress.Aborted() ? 0 : pages;
}

}  // namespace quillet
