// The body shared by the decoder fuzz targets: run one reader over the input
// bytes in memory, with a small pixel limit so big headers stay cheap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/core/math.h"
#include "imaging/io/codec.h"

inline int FuzzRead(quillet::TIOReadProc read, const uint8_t* data, size_t size) {
  using namespace quillet;
  SetMaxImagePixels(1 << 22);
  TIEMemoryStream stream(data, int64_t(size));
  TIEWorkingBitmap bitmap;
  TIOParamsVals params;
  bool aborting = false;
  TIOProgress progress;
  progress.Aborting = &aborting;
  TIOReadArgs args{stream, bitmap, params, progress, false, int64_t(size)};
  read(args);
  return 0;
}
