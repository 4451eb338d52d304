// Error functions and stream callbacks of the PNG codec.
#include "imaging/io/formats/png/png_bridge.h"

#include <cstdio>

namespace quillet {

namespace {

TPngChannel& ChannelOf(png_structp png) { return *static_cast<TPngChannel*>(png_get_io_ptr(png)); }

}  // namespace

void PngError(png_structp png, png_const_charp message) {
  auto* channel = static_cast<TPngChannel*>(png_get_error_ptr(png));
  if (channel) std::snprintf(channel->message, sizeof channel->message, "%s", message ? message : "");
  png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngReadData(png_structp png, png_bytep data, size_t length) {
  if (ChannelOf(png).stream->Read(data, int64_t(length)) != int64_t(length)) png_error(png, "unexpected end of data");
}

void PngWriteData(png_structp png, png_bytep data, size_t length) {
  TPngChannel& channel = ChannelOf(png);
  if (!channel.stream->WriteExact(data, int64_t(length))) {
    channel.shortWrite = true;
    png_error(png, "write error");
  }
}

void PngFlush(png_structp) {}

}  // namespace quillet
