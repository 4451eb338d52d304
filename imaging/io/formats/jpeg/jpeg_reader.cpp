// JPEG reader: the start-of-image search, header and markers, the output
// size and colour space, then rows straight into the bitmap in batches.
#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "imaging/core/decode_target.h"
#include "imaging/core/math.h"
#include "imaging/io/format_detect.h"
#include "imaging/io/formats/jpeg/jpeg_bridge.h"
#include "imaging/io/formats/jpeg/jpeg_codec.h"
#include "imaging/io/formats/jpeg/jpeg_metadata.h"

namespace quillet {

namespace {

// A progressive file with more scans than this is taken as hostile: each
// scan costs a pass over the whole image.
constexpr int kMaxScans = 1000;
constexpr unsigned kMarkerLimit = 0xFFFF;
constexpr char kCorrupted[] = "JPeg corrupted file";

// Everything the library steps below share. The library's state is
// released here, whichever step stopped.
struct TJpegReader {
  jpeg_decompress_struct cinfo{};
  TJpegErrorManager errors;
  TJpegSource source;
  jpeg_progress_mgr monitor{};
  ~TJpegReader() { jpeg_destroy_decompress(&cinfo); }
};

TJpegErrorManager& ErrorsOf(j_common_ptr cinfo) { return *reinterpret_cast<TJpegErrorManager*>(cinfo->err); }

void LimitScans(j_common_ptr cinfo) {
  const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number <= kMaxScans) return;
  TJpegErrorManager& errors = ErrorsOf(cinfo);
  std::strcpy(errors.message, "too many scans");
  std::longjmp(errors.exit, 1);
}

// The library steps. Each returns false when the library gave up; none
// holds an object with a destructor across its setjmp.
bool ReadHeader(TJpegReader& r, TIEStream& stream) {
  if (setjmp(r.errors.exit)) return false;
  jpeg_create_decompress(&r.cinfo);
  AttachJpegSource(r.cinfo, r.source, stream);
  r.monitor.progress_monitor = LimitScans;
  r.cinfo.progress = &r.monitor;
  jpeg_save_markers(&r.cinfo, JPEG_COM, kMarkerLimit);
  for (int i = 0; i < 16; ++i) jpeg_save_markers(&r.cinfo, JPEG_APP0 + i, kMarkerLimit);
  jpeg_read_header(&r.cinfo, TRUE);
  return true;
}

bool CalcOutput(TJpegReader& r) {
  if (setjmp(r.errors.exit)) return false;
  jpeg_calc_output_dimensions(&r.cinfo);
  return true;
}

bool StartDecompress(TJpegReader& r) {
  if (setjmp(r.errors.exit)) return false;
  jpeg_start_decompress(&r.cinfo);
  return true;
}

// C, M, Y, K as delivered to blue, green, red: red = C * K / 255 and so on.
void CmykRowToBgr(const uint8_t* cmyk, int64_t width, uint8_t* bgr) {
  for (int64_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    const unsigned k = cmyk[3];
    bgr[0] = uint8_t(cmyk[2] * k / 255);
    bgr[1] = uint8_t(cmyk[1] * k / 255);
    bgr[2] = uint8_t(cmyk[0] * k / 255);
  }
}

struct TRowTarget {
  TIEWorkingBitmap* bitmap = nullptr;
  bool cmyk = false;
  std::vector<uint8_t> cmykRows;  // rec_outbuf_height rows of 4 bytes a pixel
  const TIOProgress* progress = nullptr;
};

bool ReadRows(TJpegReader& r, TRowTarget& t) {
  if (setjmp(r.errors.exit)) return false;
  jpeg_decompress_struct& c = r.cinfo;
  const int64_t width = int64_t(c.output_width), height = int64_t(c.output_height);
  const int batch = c.rec_outbuf_height < 1 ? 1 : c.rec_outbuf_height > 4 ? 4 : c.rec_outbuf_height;
  JSAMPROW rows[4];
  while (c.output_scanline < c.output_height && !t.progress->Aborted()) {
    const int64_t y = int64_t(c.output_scanline);
    const int count = int(std::min<int64_t>(batch, height - y));
    for (int i = 0; i < count; ++i)
      rows[i] = t.cmyk ? t.cmykRows.data() + size_t(i) * size_t(width) * 4 : t.bitmap->ScanLine(y + i);
    const JDIMENSION got = jpeg_read_scanlines(&c, rows, JDIMENSION(count));
    if (t.cmyk)
      for (JDIMENSION i = 0; i < got; ++i) CmykRowToBgr(rows[i], width, t.bitmap->ScanLine(y + i));
    t.progress->Report(int(int64_t(c.output_scanline) * 100 / height));
  }
  return true;
}

bool FinishDecompress(TJpegReader& r) {
  if (setjmp(r.errors.exit)) return false;
  jpeg_finish_decompress(&r.cinfo);
  return true;
}

TIOJPEGColorspace ColorSpaceOf(J_COLOR_SPACE space) {
  switch (space) {
    case JCS_RGB: return TIOJPEGColorspace::RGB;
    case JCS_GRAYSCALE: return TIOJPEGColorspace::GrayScale;
    case JCS_CMYK: return TIOJPEGColorspace::CMYK;
    case JCS_YCCK: return TIOJPEGColorspace::YCbCrK;
    default: return TIOJPEGColorspace::YCbCr;
  }
}

J_DCT_METHOD DctOf(TIOJPEGDctMethod method) {
  switch (method) {
    case TIOJPEGDctMethod::IFAST: return JDCT_IFAST;
    case TIOJPEGDctMethod::FLOAT: return JDCT_FLOAT;
    default: return JDCT_ISLOW;
  }
}

// The denominator of JpegScale; automatic picks the smallest image that is
// still at least Width x Height.
int ScaleDenominator(const TIOParamsVals& p, const jpeg_decompress_struct& c) {
  if (p.JpegScale >= 1 && p.JpegScale <= 4) return 1 << (p.JpegScale - 1);
  if (p.JpegScale != 0 || p.Width <= 0 || p.Height <= 0) return 1;
  for (const int d : {8, 4, 2})
    if (int64_t(c.image_width) / d >= p.Width && int64_t(c.image_height) / d >= p.Height) return d;
  return 1;
}

// The saved markers in file order, but for an APP0 that comes first (the
// JFIF header, which the writer makes anew).
void KeepMarkers(const jpeg_decompress_struct& c, TIEMarkerList& markers) {
  markers.Clear();
  bool first = true;
  for (jpeg_saved_marker_ptr m = c.marker_list; m; m = m->next, first = false)
    if (!(first && m->marker == JPEG_APP0)) markers.Add(m->marker, m->data, int64_t(m->data_length));
}

void SetHeaderParams(const jpeg_decompress_struct& c, TIOParamsVals& p) {
  p.JpegColorSpace = ColorSpaceOf(c.jpeg_color_space);
  p.BitsPerSample = 8;
  p.SamplesPerPixel = 3;
  p.FreeColorMap();
  p.JpegProgressive = c.progressive_mode;
  KeepMarkers(c, p.JpegMarkers);
  const bool exif = ReadJpegMetadata(p);
  SetJpegResolution(p, c.density_unit, c.X_density, c.Y_density, exif);
}

void Configure(jpeg_decompress_struct& c, const TIOParamsVals& p) {
  const bool cmyk = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
  c.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  c.dct_method = DctOf(p.JpegDctMethod);
  c.scale_num = 1;
  c.scale_denom = unsigned(ScaleDenominator(p, c));
}

void Fail(TIOReadArgs& a, const TJpegReader& r) {
  a.Progress.Fail(r.errors.message[0] ? std::string(kCorrupted) + ": " + r.errors.message : kCorrupted);
}

// Puts the stream right after the data the library used.
void ReturnUnreadBytes(TJpegReader& r, TIEStream& stream) {
  if (!r.source.insertedEnd && r.cinfo.src)
    stream.Seek(-int64_t(r.cinfo.src->bytes_in_buffer), TSeekOrigin::soCurrent);
}

void Decode(TIOReadArgs& a, TJpegReader& r) {
  const int64_t start = FindJpegStart(a.Stream);
  if (start < 0) return a.Progress.Fail("no JPEG start of image");
  a.Stream.Seek(start, TSeekOrigin::soCurrent);
  InitJpegErrors(r.errors);
  r.cinfo.err = &r.errors.pub;
  if (!ReadHeader(r, a.Stream)) return Fail(a, r);
  SetHeaderParams(r.cinfo, a.Params);
  Configure(r.cinfo, a.Params);
  if (!CalcOutput(r)) return Fail(a, r);
  jpeg_decompress_struct& c = r.cinfo;
  a.Params.JpegScaleDenominator = int32_t(c.scale_denom);
  a.Params.Width = int32_t(c.output_width);
  a.Params.Height = int32_t(c.output_height);
  if (a.ParamsOnly) return;
  if (!ImageBytes(c.output_width, c.output_height, 24)) return a.Progress.Fail("image too large");
  if (!StartDecompress(r)) return Fail(a, r);
  TDecodeTarget fresh;
  if (!fresh.Reshape(a.Bitmap, c.output_width, c.output_height, TIEPixelFormat::pf24bit))
    return a.Progress.Fail("image too large");
  TRowTarget target;
  target.bitmap = &a.Bitmap;
  target.cmyk = c.out_color_space == JCS_CMYK;
  if (target.cmyk) target.cmykRows.resize(size_t(4) * c.output_width * 4);
  target.progress = &a.Progress;
  // The library decodes a block row before it hands out any of its rows, and
  // a batch lies within one: the rows above output_scanline are the written ones.
  const bool complete = ReadRows(r, target);
  if (c.output_scanline < c.output_height) fresh.Unwritten(c.output_scanline);
  if (!complete) return Fail(a, r);
  if (a.Progress.Aborted()) return;
  // The source makes up the end marker when the data runs out; the library
  // then fills what is missing and warns, which is a truncated image. A
  // file that only lacks the final marker decodes without that warning.
  if (r.source.insertedEnd && r.errors.hitMarker) return a.Progress.Fail("truncated JPEG data");
  // Whatever follows the last row cannot spoil the image any more.
  FinishDecompress(r);
  ReturnUnreadBytes(r, a.Stream);
}

}  // namespace

void ReadJPEGStream(TIOReadArgs& args) {
  args.Progress.Guard([&] {
    TJpegReader reader;
    Decode(args, reader);
  });
}

}  // namespace quillet
