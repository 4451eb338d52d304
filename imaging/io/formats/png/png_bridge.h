// The library side of the PNG codec: error and warning functions that jump
// back into the codec, and the read and write callbacks on the engine's stream.
#pragma once

#include <png.h>

#include "imaging/core/stream.h"

namespace quillet {

// What the callbacks share with the codec; passed to the library as both
// its error pointer and its I/O pointer.
struct TPngChannel {
  TIEStream* stream = nullptr;
  bool shortWrite = false;
  char message[160] = {};
};

// The error function keeps the message and longjmps to png_jmpbuf; the
// warning function ignores what it is told.
void PngError(png_structp png, png_const_charp message);
void PngWarning(png_structp png, png_const_charp message);

// A short read or write is a library error.
void PngReadData(png_structp png, png_bytep data, size_t length);
void PngWriteData(png_structp png, png_bytep data, size_t length);
void PngFlush(png_structp png);

}  // namespace quillet
