// The calling convention of every codec: what a reader and a writer get and
// the failures they report.
#pragma once

#include <cstdint>

#include "imaging/core/stream.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/io/file_types.h"
#include "imaging/io/io_params.h"
#include "imaging/io/io_progress.h"

namespace quillet {

class TIEMask;

// A reader fills Params from the header and, unless ParamsOnly, sets Bitmap to
// the decoded size in 1 or 24 bits. Failure and cancel go through Progress.Abort();
// a reader never throws.
struct TIOReadArgs {
  TIEStream& Stream;
  TIEWorkingBitmap& Bitmap;
  TIOParamsVals& Params;
  TIOProgress& Progress;
  bool ParamsOnly = false;
  // Bytes available from the codec's start (BMP and PCX); 0 when unknown.
  int64_t BytesAvailable = 0;
  // The 8-bit alpha plane, or none. Readers of formats with transparency
  // allocate it at the image size, fill it with 255 and clear what is transparent.
  TIEMask* AlphaMask = nullptr;
};

// A writer leaves Bitmap unchanged (it converts into a copy when it must).
struct TIOWriteArgs {
  TIEStream& Stream;
  const TIEWorkingBitmap& Bitmap;
  TIOParamsVals& Params;
  TIOProgress& Progress;
  // The image's alpha plane, or none; writers of formats with transparency
  // keep what is not opaque.
  const TIEMask* AlphaMask = nullptr;
};

using TIOReadProc = void (*)(TIOReadArgs& args);
using TIOWriteProc = void (*)(TIOWriteArgs& args);
using TIOTestProc = bool (*)(TIEStream& stream);

}  // namespace quillet
