#include "imaging/core/ie_bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "imaging/core/bits.h"
#include "imaging/core/math.h"

namespace quillet {

int BitsOfPixelType(TIEPixelType type) {
  switch (type) {
    case TIEPixelType::ie1g: return 1;
    case TIEPixelType::ie8p:
    case TIEPixelType::ie8g: return 8;
    case TIEPixelType::ie16g: return 16;
    case TIEPixelType::ie24RGB: return 24;
    case TIEPixelType::ieNone: break;
  }
  return 0;
}

namespace {

TIEPixelFormat WorkingFormatOf(TIEPixelType type) {
  switch (type) {
    case TIEPixelType::ie1g: return TIEPixelFormat::pf1bit;
    case TIEPixelType::ie24RGB: return TIEPixelFormat::pf24bit;
    default: return TIEPixelFormat::pf8bit;
  }
}

std::vector<TRGBQuad> GreyRamp() {
  std::vector<TRGBQuad> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  return ramp;
}

bool IsBlackWhite(const std::vector<TRGBQuad>& palette) {
  return palette.size() < 2 || (palette[0] == TRGBQuad{0, 0, 0, 0} && palette[1] == TRGBQuad{255, 255, 255, 0});
}

void HighBytes(const uint8_t* src, uint8_t* dst, int64_t width) {
  for (int64_t x = 0; x < width; ++x) dst[x] = src[2 * x + 1];
}

}  // namespace

bool TIEBitmap::Allocate(int32_t width, int32_t height, TIEPixelType type) {
  Release();
  if (location_ == TIEBitmapLocation::ieWorkingBitmap && type == TIEPixelType::ie16g) type = TIEPixelType::ie8g;
  const int bits = BitsOfPixelType(type);
  if (width <= 0 || height <= 0 || bits == 0) return false;
  const auto bytes = ImageBytes(width, height, bits);
  if (!bytes) return false;
  width_ = width;
  height_ = height;
  type_ = type;
  rowLength_ = quillet::RowLength(width, bits);
  if (type == TIEPixelType::ie8p) palette_.assign(256, TRGBEntry{});
  if (location_ == TIEBitmapLocation::ieFile && !MapTempFile(*bytes)) location_ = TIEBitmapLocation::ieMemory;
  if (location_ == TIEBitmapLocation::ieMemory) AllocateMemory(*bytes);
  if (location_ == TIEBitmapLocation::ieWorkingBitmap) ReshapeBitmap(bitmap_, width, height, WorkingFormatOf(type));
  return true;
}

void TIEBitmap::TFree::operator()(uint8_t* p) const { std::free(p); }

// Zeroed pages straight from the system: nothing is written before the caller's rows.
void TIEBitmap::AllocateMemory(int64_t bytes) {
  memory_.reset(static_cast<uint8_t*>(std::calloc(static_cast<size_t>(bytes), 1)));
  if (!memory_) throw std::bad_alloc();
}

// The mapping keeps the unlinked file alive; the descriptor is not needed.
bool TIEBitmap::MapTempFile(int64_t bytes) {
  TIETempFile file;
  if (file.Create(bytes)) file_ = file.Map(0, bytes);
  return file_.Mapped();
}

void TIEBitmap::Release() {
  file_.Unmap();
  memory_.reset();
  palette_.clear();
  bitmap_ = TIEWorkingBitmap();
  width_ = height_ = 0;
  rowLength_ = 0;
  type_ = TIEPixelType::ieNone;
}

uint8_t* TIEBitmap::ScanLine(int32_t y) {
  const int64_t offset = rowLength_ * (int64_t(height_) - y - 1);
  switch (location_) {
    case TIEBitmapLocation::ieMemory: return memory_.get() + offset;
    case TIEBitmapLocation::ieFile: return file_.Data() + offset;
    case TIEBitmapLocation::ieWorkingBitmap: return bitmap_.ScanLine(y);
  }
  return nullptr;
}

void TIEBitmap::MoveTo(TIEBitmap& other) {
  if (&other == this) return;
  other.Release();
  other.width_ = std::exchange(width_, 0);
  other.height_ = std::exchange(height_, 0);
  other.rowLength_ = std::exchange(rowLength_, 0);
  other.type_ = std::exchange(type_, TIEPixelType::ieNone);
  other.location_ = location_;
  other.palette_ = std::move(palette_);
  other.memory_ = std::move(memory_);
  other.file_ = std::move(file_);
  other.bitmap_ = std::move(bitmap_);
  Release();
}

void TIEBitmap::SetLocation(TIEBitmapLocation location) {
  if (location == location_) return;
  if (Empty()) {
    location_ = location;
    return;
  }
  TIEBitmap old;
  MoveTo(old);
  location_ = location;
  Allocate(old.width_, old.height_, old.type_);
  CopyFrom(old);
}

void TIEBitmap::CopyFrom(TIEBitmap& source) {
  // Only 16-bit grey changes type on the way (to the working bitmap).
  const bool narrow = source.type_ == TIEPixelType::ie16g && type_ == TIEPixelType::ie8g;
  for (int32_t y = 0; y < height_; ++y) {
    if (narrow) HighBytes(source.ScanLine(y), ScanLine(y), width_);
    else std::memcpy(ScanLine(y), source.ScanLine(y), static_cast<size_t>(rowLength_));
  }
  if (type_ == TIEPixelType::ie8p) palette_ = source.palette_;
}

namespace {

TIEPixelType TypeFromFormat(const TIEWorkingBitmap& bitmap) {
  switch (bitmap.PixelFormat()) {
    case TIEPixelFormat::pf1bit:
      return IsBlackWhite(bitmap.Palette()) ? TIEPixelType::ie1g : TIEPixelType::ie8p;
    case TIEPixelFormat::pf4bit:
    case TIEPixelFormat::pf8bit: return TIEPixelType::ie8p;
    case TIEPixelFormat::pf15bit:
    case TIEPixelFormat::pf16bit:
    case TIEPixelFormat::pf24bit:
    case TIEPixelFormat::pf32bit: return TIEPixelType::ie24RGB;
    case TIEPixelFormat::pfNone: break;
  }
  return TIEPixelType::ieNone;
}

void ExpandBits(const uint8_t* src, uint8_t* dst, int64_t width) {
  for (int64_t x = 0; x < width; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
}

void ExpandNibbles(const uint8_t* src, uint8_t* dst, int64_t width) {
  for (int64_t x = 0; x < width; ++x) dst[x] = (x & 1) ? src[x >> 1] & 15 : src[x >> 1] >> 4;
}

void Expand555(const uint8_t* src, uint8_t* dst, int64_t width) {
  for (int64_t x = 0; x < width; ++x, dst += 3) {
    const unsigned p = src[2 * x] | (src[2 * x + 1] << 8);
    dst[0] = uint8_t((p & 31) << 3);
    dst[1] = uint8_t(((p >> 5) & 31) << 3);
    dst[2] = uint8_t(((p >> 10) & 31) << 3);
  }
}

void Expand565(const uint8_t* src, uint8_t* dst, int64_t width) {
  for (int64_t x = 0; x < width; ++x, dst += 3) {
    const unsigned p = src[2 * x] | (src[2 * x + 1] << 8);
    dst[0] = uint8_t((p & 31) << 3);
    dst[1] = uint8_t(((p >> 5) & 63) << 2);
    dst[2] = uint8_t((p >> 11) << 3);
  }
}

void Drop4th(const uint8_t* src, uint8_t* dst, int64_t width) {
  for (int64_t x = 0; x < width; ++x, src += 4, dst += 3) std::memcpy(dst, src, 3);
}

}  // namespace

void TIEBitmap::CopyFromBitmap(const TIEWorkingBitmap& bitmap) {
  const TIEPixelType type = TypeFromFormat(bitmap);
  if (type == TIEPixelType::ieNone || bitmap.Empty()) return;
  if (!Allocate(int32_t(bitmap.Width()), int32_t(bitmap.Height()), type)) return;
  if (type == TIEPixelType::ie8p) {
    const auto& source = bitmap.Palette();
    for (size_t i = 0; i < std::min<size_t>(source.size(), 256); ++i)
      palette_[i] = {source[i].r, source[i].g, source[i].b};
  }
  const TIEPixelFormat format = bitmap.PixelFormat();
  for (int32_t y = 0; y < height_; ++y) {
    const uint8_t* src = bitmap.ScanLine(y);
    uint8_t* dst = ScanLine(y);
    if (format == TIEPixelFormat::pf1bit && type == TIEPixelType::ie8p) ExpandBits(src, dst, width_);
    else if (format == TIEPixelFormat::pf4bit) ExpandNibbles(src, dst, width_);
    else if (format == TIEPixelFormat::pf15bit) Expand555(src, dst, width_);
    else if (format == TIEPixelFormat::pf16bit) Expand565(src, dst, width_);
    else if (format == TIEPixelFormat::pf32bit) Drop4th(src, dst, width_);
    else std::memcpy(dst, src, static_cast<size_t>(rowLength_));
  }
}

void TIEBitmap::CopyToBitmap(TIEWorkingBitmap& bitmap) const {
  if (Empty()) return;
  ReshapeBitmap(bitmap, width_, height_, WorkingFormatOf(type_));
  if (type_ == TIEPixelType::ie1g) bitmap.Palette() = BlackWhitePalette();
  if (type_ == TIEPixelType::ie8g || type_ == TIEPixelType::ie16g) bitmap.Palette() = GreyRamp();
  if (type_ == TIEPixelType::ie8p) {
    bitmap.Palette().resize(256);
    for (size_t i = 0; i < 256; ++i) bitmap.Palette()[i] = {palette_[i].b, palette_[i].g, palette_[i].r, 0};
  }
  for (int32_t y = 0; y < height_; ++y) {
    if (type_ == TIEPixelType::ie16g) HighBytes(ScanLine(y), bitmap.ScanLine(y), width_);
    else std::memcpy(bitmap.ScanLine(y), ScanLine(y), static_cast<size_t>(rowLength_));
  }
  bitmap.MarkModified();
}

}  // namespace quillet
