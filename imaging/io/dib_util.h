// Small steps shared by the readers of device-independent bitmap data (BMP,
// icons, cursors): failure reporting, resolution units and 1-bit rows.
#pragma once

#include <cstdint>

#include "imaging/io/codec.h"

namespace quillet {

inline void Fail(TIOReadArgs& args, const char* why) { args.Progress.Fail(why); }
inline void Fail(TIOWriteArgs& args, const char* why) { args.Progress.Fail(why); }

// Dots per inch of a pixels-per-metre field; `fallback` when the field is unusable.
int32_t DpiOfPixelsPerMetre(int64_t ppm, int32_t fallback);
// Pixels per metre written for a resolution in dots per inch.
int32_t PixelsPerMetreOfDpi(int32_t dpi);

// A 1-bit row copied, complemented when the file's palette is white, black.
void CopyBilevelRow(const uint8_t* src, uint8_t* dst, int64_t bytes, bool invert);

// Rows a reader did not reach, white: the first `done` file rows were decoded,
// from the top when topDown, else from the bottom.
void FillRowsWhite(TIEWorkingBitmap& bitmap, bool topDown, int64_t done);

}  // namespace quillet
