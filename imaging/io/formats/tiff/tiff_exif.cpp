// EXIF blocks: TIFF data whose first directory (with its EXIF directory)
// gives the Exif fields and whose second holds the thumbnail.
#include "imaging/io/formats/tiff/tiff_codec.h"
#include "imaging/io/formats/tiff/tiff_page.h"

namespace quillet {

namespace {

// Reads page `index` of the block into `params` and `bitmap`; false on failure.
bool ReadBlockPage(TIEMemoryStream& block, int32_t index, bool paramsOnly, TIOParamsVals& params,
                   TIEWorkingBitmap& bitmap) {
  block.Seek(0, TSeekOrigin::soBeginning);
  params.TiffImageIndex = index;
  bool aborting = false;
  TIOProgress progress;
  progress.Aborting = &aborting;
  TIOReadArgs args{block, bitmap, params, progress, paramsOnly, block.Size(), nullptr};
  ReadTIFFStream(args);
  return !aborting;
}

}  // namespace

// A thumbnail is an old-style JPEG stream, whose reading decodes EXIF
// again: a block met inside a block is not read, so that nesting stays flat.
bool DecodeExifBlock(const uint8_t* data, size_t size, TIOParamsVals& params) {
  thread_local bool reading = false;
  if (reading) return false;
  struct TScope {
    TScope() { reading = true; }
    ~TScope() { reading = false; }
  } scope;
  TIEMemoryStream block(data, int64_t(size));
  TIOParamsVals first, second;
  TIEWorkingBitmap none, thumbnail;
  const bool ok = ReadBlockPage(block, 0, true, first, none);
  if (ok) {
    CopyExifFields(first, params);
    const bool hasThumbnail = ReadBlockPage(block, 1, false, second, thumbnail) && !thumbnail.Empty();
    params.ExifThumbnail = hasThumbnail ? std::move(thumbnail) : TIEWorkingBitmap(1, 1, TIEPixelFormat::pf24bit);
  }
  return ok;
}

}  // namespace quillet
