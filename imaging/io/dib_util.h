// Small steps shared by the readers of device-independent bitmap data (BMP,
// icons, cursors): failure reporting, resolution units and palettes.
#pragma once

#include <cstdint>

#include "imaging/core/dib_reader.h"
#include "imaging/io/codec.h"

namespace quillet {

inline void Fail(TIOReadArgs& args, const char* why) { args.Progress.Fail(why); }
inline void Fail(TIOWriteArgs& args, const char* why) { args.Progress.Fail(why); }

// Dots per inch of a pixels-per-metre field; `fallback` when the field is unusable.
int32_t DpiOfPixelsPerMetre(int64_t ppm, int32_t fallback);
// Pixels per metre written for a resolution in dots per inch.
int32_t PixelsPerMetreOfDpi(int32_t dpi);

// Params.ColorMap := the entries the file gave.
void StorePalette(const TPaletteTable& table, TIOParamsVals& params);

// DpiX, DpiY of the header's pixels per metre, the screen's where they are unusable.
void StoreDibResolution(const TDibHeader& header, TIOParamsVals& params);

}  // namespace quillet
