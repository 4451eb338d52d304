// PXM writer: P4 for bilevel output, P5 for 8-bit grey, P6 for everything
// else; the comment lines follow the magic, one "# " line each.
#include <string>
#include <vector>

#include "imaging/io/dib_util.h"
#include "imaging/io/byte_rows.h"
#include "imaging/io/formats/pxm/pxm_codec.h"
#include "imaging/io/writer_source.h"

namespace quillet {

namespace {

enum class TPxmKind { pkBitmap, pkGrey, pkColour };

TPxmKind KindOf(const TIOWriteArgs& a) {
  const TIOParamsVals& p = a.Params;
  if (a.Bitmap.PixelFormat() == TIEPixelFormat::pf1bit || (p.BitsPerSample == 1 && p.SamplesPerPixel == 1))
    return TPxmKind::pkBitmap;
  return p.BitsPerSample == 8 && p.SamplesPerPixel == 1 ? TPxmKind::pkGrey : TPxmKind::pkColour;
}

std::string Header(TPxmKind kind, const TIOWriteArgs& a) {
  static const char* const kMagic[] = {"P4 ", "P5 ", "P6 "};
  std::string text = kMagic[int(kind)];
  // A comment holding line ends becomes several comment lines, so no text
  // of it can end up outside a comment.
  for (const std::string& comment : a.Params.PxmComments) {
    size_t from = 0;
    for (size_t end; (end = comment.find_first_of("\r\n", from)) != std::string::npos; from = end + 1)
      text += "\n# " + comment.substr(from, end - from) + "\n";
    text += "\n# " + comment.substr(from) + "\n";
  }
  text += std::to_string(a.Bitmap.Width()) + " " + std::to_string(a.Bitmap.Height());
  return text + (kind == TPxmKind::pkBitmap ? "\n" : " 255\n");
}

int64_t RowBytes(TPxmKind kind, int64_t width) {
  switch (kind) {
    case TPxmKind::pkBitmap: return (width + 7) / 8;
    case TPxmKind::pkGrey: return width;
    case TPxmKind::pkColour: return 3 * width;
  }
  return 0;
}

// Row y of `image` as the file stores it.
void FileRow(TPxmKind kind, const TIEWorkingBitmap& image, int64_t y, std::vector<uint8_t>& out) {
  const uint8_t* src = image.ScanLine(y);
  uint8_t* dst = out.data();
  switch (kind) {
    case TPxmKind::pkBitmap:
      InvertBitRow(src, dst, image.Width());
      break;
    case TPxmKind::pkGrey:
      BgrToGreyRow(src, dst, image.Width());
      break;
    case TPxmKind::pkColour:
      SwapRedBlueRow(src, dst, image.Width());
      break;
  }
}

void WritePxm(TIOWriteArgs& a) {
  const TPxmKind kind = KindOf(a);
  const TWriterSource source = kind == TPxmKind::pkBitmap ? BilevelSource(a.Bitmap) : TrueColourSource(a.Bitmap);
  const TIEWorkingBitmap& image = *source.Image;
  const std::string header = Header(kind, a);
  if (!a.Stream.WriteExact(header.data(), int64_t(header.size()))) return Fail(a, "write error");
  const int64_t width = image.Width(), height = image.Height();
  std::vector<uint8_t> row(size_t(RowBytes(kind, width)));
  for (int64_t y = 0; y < height; ++y) {
    a.Progress.Report(int(y * 100 / height));
    if (a.Progress.Aborted()) return;
    FileRow(kind, image, y, row);
    if (!a.Stream.WriteExact(row.data(), int64_t(row.size()))) return Fail(a, "write error");
  }
  a.Progress.Report(100);
}

}  // namespace

void WritePXMStream(TIOWriteArgs& args) {
  if (args.Bitmap.Empty()) return Fail(args, "empty image");
  args.Progress.Guard([&] { WritePxm(args); });
}

}  // namespace quillet
