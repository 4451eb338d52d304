// JPEG writer: colour space, density, quality and coding options from the
// parameters, the kept markers, then the rows (CMYK made from RGB on the way).
#include <algorithm>
#include <csetjmp>
#include <vector>

#include "imaging/core/bits.h"
#include "imaging/core/engine_settings.h"
#include "imaging/io/formats/jpeg/jpeg_bridge.h"
#include "imaging/io/formats/jpeg/jpeg_codec.h"
#include "imaging/io/formats/jpeg/jpeg_metadata.h"

namespace quillet {

namespace {

// Saved APP14 markers are left out: the library writes the one that matches
// the colour space it encodes.
constexpr uint8_t kAdobeMarker = 0xEE;
constexpr int64_t kMaxWrittenMarker = 65533;

struct TJpegWriter {
  jpeg_compress_struct cinfo{};
  TJpegErrorManager errors;
  TJpegDestination destination;
  ~TJpegWriter() { jpeg_destroy_compress(&cinfo); }
};

// Turns one bitmap row into what the compressor takes.
struct TRowSource {
  const TIEWorkingBitmap* bitmap = nullptr;
  bool cmyk = false;
  std::vector<uint8_t> buffer;  // one row, when the bitmap's cannot go as it is
  const TIOProgress* progress = nullptr;
};

J_COLOR_SPACE FileSpaceOf(TIOJPEGColorspace space) {
  switch (space) {
    case TIOJPEGColorspace::RGB: return JCS_RGB;
    case TIOJPEGColorspace::GrayScale: return JCS_GRAYSCALE;
    case TIOJPEGColorspace::CMYK: return JCS_CMYK;
    case TIOJPEGColorspace::YCbCrK: return JCS_YCCK;
    default: return JCS_YCbCr;
  }
}

J_DCT_METHOD DctOf(TIOJPEGDctMethod method) {
  switch (method) {
    case TIOJPEGDctMethod::IFAST: return JDCT_IFAST;
    case TIOJPEGDctMethod::FLOAT: return JDCT_FLOAT;
    default: return JDCT_ISLOW;
  }
}

UINT16 Density(int32_t dpi, int32_t screen) { return UINT16(std::clamp(dpi > 0 ? dpi : screen, 1, 65535)); }

// k = max(R, G, B) (1 for black); C = R * 255 / k and likewise, K = k.
void BgrRowToCmyk(const uint8_t* bgr, int64_t width, uint8_t* cmyk) {
  for (int64_t x = 0; x < width; ++x, bgr += 3, cmyk += 4) {
    const unsigned k = std::max({bgr[0], bgr[1], bgr[2], uint8_t(1)});
    cmyk[0] = uint8_t(bgr[2] * 255u / k);
    cmyk[1] = uint8_t(bgr[1] * 255u / k);
    cmyk[2] = uint8_t(bgr[0] * 255u / k);
    cmyk[3] = uint8_t(k);
  }
}

const uint8_t* RowOf(TRowSource& s, int64_t y) {
  const uint8_t* row = s.bitmap->ScanLine(y);
  const int64_t width = s.bitmap->Width();
  if (s.bitmap->PixelFormat() == TIEPixelFormat::pf1bit) {
    uint8_t* out = s.cmyk ? s.buffer.data() + 3 * width : s.buffer.data();
    for (int64_t x = 0; x < width; ++x) std::fill_n(out + 3 * x, 3, GetBit(row, x) ? 255 : 0);
    row = out;
  }
  if (!s.cmyk) return row;
  BgrRowToCmyk(row, width, s.buffer.data());
  return s.buffer.data();
}

void Setup(TJpegWriter& w, const TIEWorkingBitmap& bitmap, const TIOParamsVals& p) {
  jpeg_compress_struct& c = w.cinfo;
  const J_COLOR_SPACE file = FileSpaceOf(p.JpegColorSpace);
  const bool cmyk = file == JCS_CMYK || file == JCS_YCCK;
  c.image_width = JDIMENSION(bitmap.Width());
  c.image_height = JDIMENSION(bitmap.Height());
  c.input_components = cmyk ? 4 : 3;
  c.in_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_set_defaults(&c);
  jpeg_set_colorspace(&c, file);
  c.density_unit = 1;
  c.X_density = Density(p.DpiX, StartupMetrics().DpiX);
  c.Y_density = Density(p.DpiY, StartupMetrics().DpiY);
  c.dct_method = DctOf(p.JpegDctMethod);
  c.optimize_coding = p.JpegOptimalHuffman;
  c.smoothing_factor = std::clamp(p.JpegSmoothing, 0, 100);
  jpeg_set_quality(&c, std::clamp(p.JpegQuality, 1, 100), TRUE);
  if (p.JpegProgressive) jpeg_simple_progression(&c);
}

void WriteMarkers(TJpegWriter& w, const TIEMarkerList& markers) {
  for (int64_t i = 0; i < markers.Count(); ++i) {
    const int64_t length = markers.MarkerLength(i);
    if (markers.MarkerType(i) == kAdobeMarker || length > kMaxWrittenMarker) continue;
    jpeg_write_marker(&w.cinfo, markers.MarkerType(i), markers.MarkerBytes(i), unsigned(length));
  }
}

// The library steps; each returns false when the library gave up.
bool Compress(TJpegWriter& w, TIEStream& stream, const TIOParamsVals& p, TRowSource& rows) {
  if (setjmp(w.errors.exit)) return false;
  jpeg_create_compress(&w.cinfo);
  AttachJpegDestination(w.cinfo, w.destination, stream);
  Setup(w, *rows.bitmap, p);
  jpeg_start_compress(&w.cinfo, TRUE);
  WriteMarkers(w, p.JpegMarkers);
  const int64_t height = rows.bitmap->Height();
  for (int64_t y = 0; y < height; ++y) {
    JSAMPROW row = const_cast<JSAMPROW>(RowOf(rows, y));
    jpeg_write_scanlines(&w.cinfo, &row, 1);
    rows.progress->Report(int((y + 1) * 100 / height));
    if (rows.progress->Aborted()) return true;
  }
  jpeg_finish_compress(&w.cinfo);
  return true;
}

void Encode(TIOWriteArgs& a, TJpegWriter& w) {
  if (a.Bitmap.Empty()) return a.Progress.Fail("empty image");
  if (a.Bitmap.Width() > JPEG_MAX_DIMENSION || a.Bitmap.Height() > JPEG_MAX_DIMENSION)
    return a.Progress.Fail("image too large for JPEG");
  StoreIptcMarker(a.Params);
  TRowSource rows;
  rows.bitmap = &a.Bitmap;
  const J_COLOR_SPACE file = FileSpaceOf(a.Params.JpegColorSpace);
  rows.cmyk = file == JCS_CMYK || file == JCS_YCCK;
  const bool bilevel = a.Bitmap.PixelFormat() == TIEPixelFormat::pf1bit;
  rows.buffer.resize(size_t(a.Bitmap.Width()) * ((rows.cmyk ? 4 : 0) + (bilevel ? 3 : 0)));
  rows.progress = &a.Progress;
  InitJpegErrors(w.errors);
  w.cinfo.err = &w.errors.pub;
  if (!Compress(w, a.Stream, a.Params, rows))
    a.Progress.Fail(w.destination.writeFailed ? "write error" : std::string("cannot write JPEG: ") + w.errors.message);
}

}  // namespace

void WriteJPEGStream(TIOWriteArgs& args) {
  args.Progress.Guard([&] {
    TJpegWriter writer;
    Encode(args, writer);
  });
}

}  // namespace quillet
