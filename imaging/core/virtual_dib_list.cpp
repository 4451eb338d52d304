#include "imaging/core/virtual_dib_list.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "imaging/core/math.h"
#include "imaging/core/stream.h"

namespace quillet {

struct TIEVirtualImage {
  int64_t Offset = 0;
  int64_t Size = 0;      // header and pixels
  int64_t Reserved = 0;  // the whole region
  TIEFileView View;
  std::unique_ptr<TIEWorkingBitmap> Bitmap;  // while checked out
  int Checkouts = 0;
  std::array<uint8_t, TIEVirtualDIBList::kHeaderSize> BitmapHeader{};
};

namespace {

bool ValidDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The 40-byte header of an uncompressed bottom-up image and a black, white palette.
std::array<uint8_t, TIEVirtualDIBList::kHeaderSize> DibHeader(int32_t width, int32_t height, int bits) {
  TIEMemoryStream s;
  s.WriteU32LE(40);
  s.WriteU32LE(uint32_t(width));
  s.WriteU32LE(uint32_t(height));
  s.WriteU16LE(1);
  s.WriteU16LE(uint16_t(bits));
  for (int i = 0; i < 6; ++i) s.WriteU32LE(0);  // no compression, sizes and counts unset
  s.WriteU32LE(0x00000000);
  s.WriteU32LE(0x00ffffff);
  std::array<uint8_t, TIEVirtualDIBList::kHeaderSize> header{};
  std::memcpy(header.data(), s.Data(), header.size());
  return header;
}

int32_t HeaderField(const uint8_t* header, int offset) {
  int32_t v;
  std::memcpy(&v, header + offset, 4);
  return v;
}

TIEPixelFormat FormatOfBits(int bits) {
  switch (bits) {
    case 1: return TIEPixelFormat::pf1bit;
    case 4: return TIEPixelFormat::pf4bit;
    case 8: return TIEPixelFormat::pf8bit;
    case 16: return TIEPixelFormat::pf16bit;
    case 32: return TIEPixelFormat::pf32bit;
    default: return TIEPixelFormat::pf24bit;
  }
}

}  // namespace

TIEVirtualDIBList::TIEVirtualDIBList() = default;
TIEVirtualDIBList::~TIEVirtualDIBList() { Clear(); }

int64_t TIEVirtualDIBList::RegionSizeFor(int32_t width, int32_t height, int bits) {
  const int64_t bytes = int64_t(height) * RowLength(width, bits) + kHeaderSize;
  return (bytes + kBlockSize - 1) / kBlockSize * kBlockSize;
}

bool TIEVirtualDIBList::Create(const std::string& folder) {
  Clear();
  folder_ = folder;
  return EnsureFile();
}

bool TIEVirtualDIBList::EnsureFile() {
  if (file_.IsOpen()) return true;
  end_ = lastAppended_ = 0;
  free_.clear();
  return file_.Create(kBlockSize, folder_.c_str()) || file_.CreateAnonymous(kBlockSize);
}

void TIEVirtualDIBList::Clear() {
  mapped_.clear();
  images_.clear();
  free_.clear();
  file_.Close();
  end_ = lastAppended_ = 0;
}

void TIEVirtualDIBList::SetMappingLimit(int limit) {
  mappingLimit_ = std::max(1, limit);
  while (int(mapped_.size()) > mappingLimit_) Unmap(mapped_.front());
}

bool TIEVirtualDIBList::IsMapped(const TIEVirtualImage* image) const { return image && image->View.Mapped(); }

bool TIEVirtualDIBList::Map(TIEVirtualImage* image) {
  if (!image) return false;
  if (image->View.Mapped()) {
    const auto at = std::find(mapped_.begin(), mapped_.end(), image);
    std::rotate(at, at + 1, mapped_.end());  // now the most recent
    return true;
  }
  while (int(mapped_.size()) >= mappingLimit_) Unmap(mapped_.front());
  image->View = file_.Map(image->Offset, image->Reserved);
  if (!image->View.Mapped()) return false;
  mapped_.push_back(image);
  return true;
}

void TIEVirtualDIBList::Unmap(TIEVirtualImage* image) {
  if (!image || !image->View.Mapped()) return;
  image->View.Unmap();
  mapped_.erase(std::find(mapped_.begin(), mapped_.end(), image));
}

bool TIEVirtualDIBList::GrowFor(int64_t end) {
  if (end <= file_.Size()) return true;
  const int64_t grown = file_.Size() + lastAppended_ + (end - end_);
  return file_.Grow(std::max(grown, end));
}

bool TIEVirtualDIBList::TakeRegion(int64_t size, TRegion& region) {
  const auto fit = std::find_if(free_.begin(), free_.end(), [&](const TRegion& r) { return r.Size >= size; });
  if (fit != free_.end()) {
    region = *fit;
    free_.erase(fit);
    return true;
  }
  if (!GrowFor(end_ + size)) return false;
  region = {end_, size};
  end_ += size;
  lastAppended_ = size;
  return true;
}

void TIEVirtualDIBList::FreeRegion(TIEVirtualImage* image) {
  Unmap(image);
  if (image->Reserved > 0) free_.push_back({image->Offset, image->Reserved});
  image->Offset = image->Size = image->Reserved = 0;
}

// Gives the image a region for this size and writes its header; the pixels are zero.
bool TIEVirtualDIBList::Place(TIEVirtualImage* image, int32_t width, int32_t height, int bits) {
  TRegion region;
  if (!TakeRegion(RegionSizeFor(width, height, bits), region)) return false;
  image->Offset = region.Offset;
  image->Reserved = region.Size;
  image->Size = kHeaderSize + int64_t(height) * RowLength(width, bits);
  if (!Map(image)) return false;
  const auto header = DibHeader(width, height, bits);
  std::memcpy(image->View.Data(), header.data(), header.size());
  std::memset(image->View.Data() + kHeaderSize, 0, size_t(image->Size - kHeaderSize));
  return true;
}

TIEVirtualImage* TIEVirtualDIBList::Add(int32_t width, int32_t height, int bits) {
  if (width <= 0 || height <= 0 || !ValidDepth(bits) || !ImageBytes(width, height, bits)) return nullptr;
  if (!EnsureFile()) return nullptr;
  auto image = std::make_unique<TIEVirtualImage>();
  if (!Place(image.get(), width, height, bits)) {
    FreeRegion(image.get());
    return nullptr;
  }
  images_.push_back(std::move(image));
  return images_.back().get();
}

TIEVirtualImage* TIEVirtualDIBList::AddBitmap(const TIEWorkingBitmap& bitmap) {
  TIEVirtualImage* image = Add(int32_t(bitmap.Width()), int32_t(bitmap.Height()), bitmap.BitCount());
  if (image) CopyRowsIn(image, bitmap);
  return image;
}

void TIEVirtualDIBList::Delete(TIEVirtualImage* image) {
  const auto it = std::find_if(images_.begin(), images_.end(), [&](const auto& p) { return p.get() == image; });
  if (it == images_.end()) return;
  FreeRegion(image);
  images_.erase(it);
  if (images_.empty()) {
    // Nothing left: start again with a small file.
    file_.Close();
    EnsureFile();
  }
}

bool TIEVirtualDIBList::Reserve(int32_t width, int32_t height, int bits, int64_t count) {
  if (width <= 0 || height <= 0 || !ValidDepth(bits) || count <= 0 || !EnsureFile()) return false;
  return GrowFor(end_ + count * RegionSizeFor(width, height, bits));
}

int64_t TIEVirtualDIBList::RegionSize(const TIEVirtualImage* image) const { return image ? image->Reserved : 0; }
int64_t TIEVirtualDIBList::RegionOffset(const TIEVirtualImage* image) const { return image ? image->Offset : 0; }

// Region rows are bottom-up, bitmap rows top-down.
void TIEVirtualDIBList::CopyRowsIn(TIEVirtualImage* image, const TIEWorkingBitmap& bitmap) {
  const TIEImageRows rows = ImageRows(image);
  const size_t bytes = size_t(bitmap.RowBytes());
  for (int64_t y = 0; y < bitmap.Height(); ++y) std::memcpy(rows.Row(y), bitmap.ScanLine(y), bytes);
}

TIEImageRows TIEVirtualDIBList::ImageRows(TIEVirtualImage* image) {
  TIEImageRows rows;
  if (!image) return rows;
  if (image->Bitmap) {
    TIEWorkingBitmap& b = *image->Bitmap;
    return {b.Bits(), b.RowBytes(), int32_t(b.Width()), int32_t(b.Height()), b.BitCount()};
  }
  if (!Map(image)) return rows;
  const uint8_t* header = image->View.Data();
  rows.Width = HeaderField(header, 4);
  rows.Height = HeaderField(header, 8);
  rows.Bits = header[14] | header[15] << 8;
  const int64_t length = RowLength(rows.Width, rows.Bits);
  rows.Row0 = image->View.Data() + kHeaderSize + (rows.Height - 1) * length;
  rows.Stride = -length;
  return rows;
}

int32_t TIEVirtualDIBList::ImageWidth(TIEVirtualImage* image) { return ImageRows(image).Width; }
int32_t TIEVirtualDIBList::ImageHeight(TIEVirtualImage* image) { return ImageRows(image).Height; }
int TIEVirtualDIBList::ImageBits(TIEVirtualImage* image) { return ImageRows(image).Bits; }

const uint8_t* TIEVirtualDIBList::ImageHeader(TIEVirtualImage* image) {
  if (!image) return nullptr;
  if (image->Bitmap) {
    const TIEWorkingBitmap& b = *image->Bitmap;
    image->BitmapHeader = DibHeader(int32_t(b.Width()), int32_t(b.Height()), b.BitCount());
    return image->BitmapHeader.data();
  }
  return Map(image) ? image->View.Data() : nullptr;
}

bool TIEVirtualDIBList::CopyToBitmap(TIEVirtualImage* image, TIEWorkingBitmap& bitmap) {
  const TIEImageRows rows = ImageRows(image);
  if (!rows.Row0) return false;
  const TIEPixelFormat format = FormatOfBits(rows.Bits);
  if (rows.Bits != 1 && rows.Bits != 24 && bitmap.BitCount() != rows.Bits) return false;
  if (!ReshapeBitmap(bitmap, rows.Width, rows.Height, format)) return false;
  for (int32_t y = 0; y < rows.Height; ++y)
    std::memcpy(bitmap.ScanLine(y), rows.Row(y), size_t(bitmap.RowBytes()));
  bitmap.MarkModified();
  return true;
}

bool TIEVirtualDIBList::StoreBitmap(TIEVirtualImage* image, const TIEWorkingBitmap& bitmap) {
  if (!image || bitmap.Empty() || !ValidDepth(bitmap.BitCount()) || !Map(image)) return false;
  const uint8_t* header = image->View.Data();
  const int32_t width = int32_t(bitmap.Width()), height = int32_t(bitmap.Height());
  const int bits = bitmap.BitCount();
  if (HeaderField(header, 4) != width || HeaderField(header, 8) != height || (header[14] | header[15] << 8) != bits) {
    FreeRegion(image);
    if (!Place(image, width, height, bits)) return false;
  }
  // While checked out the rows are read from the bitmap, so look at the region.
  std::unique_ptr<TIEWorkingBitmap> out = std::move(image->Bitmap);
  CopyRowsIn(image, bitmap);
  image->Bitmap = std::move(out);
  return true;
}

TIEWorkingBitmap* TIEVirtualDIBList::GetBitmap(TIEVirtualImage* image) {
  if (!image) return nullptr;
  if (!image->Bitmap) {
    auto bitmap = std::make_unique<TIEWorkingBitmap>();
    bitmap->Resize(0, 0, FormatOfBits(ImageBits(image)));
    if (!CopyToBitmap(image, *bitmap)) return nullptr;
    image->Bitmap = std::move(bitmap);
  }
  ++image->Checkouts;
  return image->Bitmap.get();
}

TIEVirtualImage* TIEVirtualDIBList::Owner(const TIEWorkingBitmap* bitmap) const {
  for (const auto& image : images_)
    if (image->Bitmap.get() == bitmap) return image.get();
  return nullptr;
}

void TIEVirtualDIBList::ReleaseBitmap(TIEWorkingBitmap* bitmap, bool writeBack) {
  TIEVirtualImage* image = bitmap ? Owner(bitmap) : nullptr;
  if (!image) return;
  if (writeBack) StoreBitmap(image, *bitmap);
  if (--image->Checkouts == 0) image->Bitmap.reset();
}

}  // namespace quillet
