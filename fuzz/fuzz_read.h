// The body shared by the decoder fuzz targets: run one reader over the input
// bytes in memory, with a small pixel limit so big headers stay cheap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "imaging/core/mask.h"
#include "imaging/core/math.h"
#include "imaging/io/codec.h"
#include "imaging/core/engine_settings.h"

// With `alpha`, the reader also fills an alpha plane, as readers of formats
// with transparency do for a view; `setup` sets parameters the read obeys.
inline int FuzzRead(quillet::TIOReadProc read, const uint8_t* data, size_t size, bool alpha = false,
                    const std::function<void(quillet::TIOParamsVals&)>& setup = {}) {
  using namespace quillet;
  SetMaxImagePixels(1 << 22);
  TIEMemoryStream stream(data, int64_t(size));
  TIEWorkingBitmap bitmap;
  TIOParamsVals params;
  if (setup) setup(params);
  bool aborting = false;
  TIOProgress progress;
  progress.Aborting = &aborting;
  TIEMask plane;
  TIOReadArgs args{stream, bitmap, params, progress, false, int64_t(size), alpha ? &plane : nullptr};
  read(args);
  return 0;
}
