// Resampling of images and mask planes: the kernels, the plain nearest-pixel
// stretch and the two-pass filtered resampling for colour, mask and 1-bit.
#pragma once

#include <cstdint>

#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/proc/proc_progress.h"
#include "imaging/proc/resample_filter.h"

namespace quillet {

// The kernel's value at distance x (in source pixels); 0 for rfNone.
double ResampleKernel(TResampleFilter filter, double x);
// Half-width of the kernel's non-zero part; 0 for rfNone.
double KernelSupport(TResampleFilter filter);

// Plain stretch (nearest pixel) of the whole source into `dest`, which gets
// width x height and the source's format (1-bit stays 1-bit, 24-bit stays
// 24-bit). False for other formats or a size that is not positive.
bool StretchNearest(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t width, int64_t height);
// The same to `width` with the height following the aspect (width * height
// div source width, at least 1), as a thumbnail is made: only the
// thumbnail's pixels are visited. False for an empty source.
bool StretchToWidth(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t width);

// Two-pass filtered resampling of a 24-bit source into a 24-bit dest of
// width x height. False, with dest untouched, for a source without pixels or
// of 1 x 1, another format, rfNone or a size that is not positive.
bool ResampleColour(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t width, int64_t height,
                    TResampleFilter filter, const TIEProcProgress& progress = {});

// The same for a mask plane (8-bit, or 1-bit read as 0 and 255) into an
// 8-bit plane of width x height, each value rounded (ties to even).
bool ResampleMask(const TIEMask& source, TIEMask& dest, int64_t width, int64_t height, TResampleFilter filter);

// The same for a 1-bit source (a set bit counts 255) into a 24-bit grey dest.
bool Resample1Bit(const TIEWorkingBitmap& source, TIEWorkingBitmap& dest, int64_t width, int64_t height,
                  TResampleFilter filter);

}  // namespace quillet
