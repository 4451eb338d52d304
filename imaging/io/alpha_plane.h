// The alpha plane of readers whose formats have no transparency: the plane
// follows the image's size and is fully opaque.
#pragma once

#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

// Makes `alpha` an 8-bit plane of the bitmap's size, all 255; nothing for none.
void MakeOpaqueAlpha(TIEMask* alpha, const TIEWorkingBitmap& bitmap);

// Stretches an 8-bit plane to width x height by nearest neighbour, as the
// image was stretched; nothing for none or a plane of another depth.
void StretchAlpha(TIEMask* alpha, int64_t width, int64_t height);

// True when the plane exists and some pixel is not fully opaque.
bool HasTransparency(const TIEMask& alpha);

}  // namespace quillet
