// The TIFF reader: the page asked for, its parameters, its pixels (or the
// old-style JPEG stream it holds) and its orientation.
#include <algorithm>

#include "imaging/core/engine_settings.h"
#include "imaging/core/mask.h"
#include "imaging/io/formats/jpeg/jpeg_codec.h"
#include "imaging/io/formats/tiff/tiff_codec.h"
#include "imaging/io/formats/tiff/tiff_orient.h"
#include "imaging/io/formats/tiff/tiff_strips.h"

namespace quillet {

namespace {

constexpr uint16_t kExifDirectoryTag = 34665;

// Why the pixels of a page cannot be decoded, or nullptr.
const char* LayoutProblem(const TTiffPage& page, const TTiffRowPlan& plan) {
  switch (page.Compression) {
    case tcNone: case tcModifiedHuffman: case tcGroup3: case tcGroup4: case tcLzw: case tcPackBits: break;
    default: return "unsupported TIFF compression";
  }
  if (page.Predictor != 1 && page.Predictor != 2) return "unsupported TIFF predictor";
  if (plan.Layout == TTiffLayout::tlNone) return "unsupported TIFF colour layout";
  if (page.Ccitt() && plan.Layout != TTiffLayout::tlBilevel) return "fax compression of a page that is not bilevel";
  if (page.Planar == 2 && (page.Tiled || plan.Layout != TTiffLayout::tlRGB8 || page.Samples != 3))
    return "unsupported TIFF planar layout";
  return nullptr;
}

// Tiles need both sides, and the image enlarged by one tile must stay
// within the pixel limit.
bool TilesUsable(const TTiffPage& page) {
  if (!page.Tiled) return true;
  if (page.TileWidth <= 0 || page.TileLength <= 0) return false;
  const double pixels = double(page.Width + page.TileWidth) * double(page.Height + page.TileLength);
  return pixels <= double(MaxImagePixels());
}

// The old-style JPEG stream of the page, decoded by the JPEG reader.
void ReadOldJpeg(TIOReadArgs& a, TTiffFile& file, const TTiffPage& page) {
  const int64_t left = file.Size() - page.JpegOffset;
  if (page.JpegOffset < 0 || left <= 0) return a.Progress.Fail("old-style JPEG page without a JPEG stream");
  const int64_t size = page.JpegLength > 0 ? std::min(page.JpegLength, left) : left;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!file.ReadAt(page.JpegOffset, bytes.data(), size)) return a.Progress.Fail("truncated JPEG stream");
  TIEMemoryStream jpeg(std::move(bytes));
  TIOParamsVals fresh;
  TIOReadArgs inner{jpeg, a.Bitmap, fresh, a.Progress, false, size, nullptr};
  ReadJPEGStream(inner);
}

bool OpaqueAlpha(TIOReadArgs& a, int64_t width, int64_t height) {
  if (!a.AlphaMask) return true;
  if (!a.AlphaMask->Allocate(width, height, 8)) return a.Progress.Fail("image too large"), false;
  a.AlphaMask->Fill(255);
  return true;
}

// Old-style JPEG pages (EXIF thumbnails among them) often give no size of
// their own: the JPEG stream has it.
void ReadPixels(TIOReadArgs& a, TTiffFile& file, const TTiffPage& page, const TTiffLzwDecoder& lzw) {
  if (page.Compression == tcOldJpeg && page.JpegOffset >= 0) {
    ReadOldJpeg(a, file, page);
    OpaqueAlpha(a, a.Bitmap.Width(), a.Bitmap.Height());
    return;
  }
  if (page.Width <= 0 || page.Height <= 0) return a.Progress.Fail("TIFF page without pixels");
  if (!OpaqueAlpha(a, page.Width, page.Height)) return;
  const TTiffRowPlan plan = PlanRows(page, file.BigEndian(), a.AlphaMask != nullptr);
  if (!TilesUsable(page)) return a.Progress.Fail("unusable TIFF tile size");
  // Every row is either decoded or filled white afterwards.
  if (!a.Bitmap.AllocateUninitialised(page.Width, page.Height, plan.Format)) return a.Progress.Fail("image too large");
  if (const char* problem = LayoutProblem(page, plan)) {
    a.Bitmap.Fill(kWhite);
    return a.Progress.Fail(problem);
  }
  DecodePixels(file, page, plan, lzw, a.Bitmap, a.AlphaMask, a.Progress);
}

void ReadTiff(TIOReadArgs& a) {
  const int64_t base = a.Stream.Position();
  const int64_t size = a.BytesAvailable > 0 ? a.BytesAvailable : a.Stream.Size() - base;
  TTiffFile file(a.Stream, base, size);
  if (!file.ReadHeader()) return a.Progress.Fail("not a TIFF file (or a BigTIFF one)");
  const TTiffChain chain = WalkDirectories(file, a.Params.TiffImageIndex);
  a.Params.TiffImageCount = chain.Count;
  if (chain.Selected < 0)
    return a.Progress.Fail("no page " + std::to_string(a.Params.TiffImageIndex) + ": the file has " +
                           std::to_string(chain.Count) + " page(s)");
  TTiffDirectory dir, exif;
  if (!dir.Read(file, chain.Selected)) return a.Progress.Fail("damaged TIFF directory");
  const bool hasExif = dir.Has(kExifDirectoryTag);
  if (hasExif && !exif.Read(file, dir.Int(kExifDirectoryTag, 0))) return a.Progress.Fail("EXIF directory outside the data");
  TTiffPage page;
  ReadPage(dir, page);
  FillParams(dir, hasExif ? &exif : nullptr, page, a.Params);
  if (page.UnequalBits) return a.Progress.Fail("unequal bits per sample");
  const TTiffLzwDecoder lzw = a.Params.TiffLzwDecoder ? a.Params.TiffLzwDecoder : LzwSlots().TiffDecoder;
  if (page.Compression == tcLzw && !lzw) return a.Progress.Fail("no LZW decoder installed");
  if (a.ParamsOnly) return;
  ReadPixels(a, file, page, lzw);
  if (a.Params.AutoOrient) AutoOrientImage(a.Bitmap, a.AlphaMask, page.Orientation);
}

}  // namespace

void ReadTIFFStream(TIOReadArgs& args) {
  args.Progress.Guard([&] { ReadTiff(args); });
}

int32_t CountTiffPages(TIEStream& stream) {
  const int64_t base = stream.Position();
  TTiffFile file(stream, base, stream.Size() - base);
  return file.ReadHeader() ? WalkDirectories(file, -1).Count : 0;
}

}  // namespace quillet
