// TIEVirtualDIBList: many images packed into one temporary file, each in a
// region of whole 64 KiB blocks, with a bounded number of them mapped at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/image_rows.h"
#include "imaging/core/temp_file.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

// One stored image; a handle owned by its list.
struct TIEVirtualImage;

class TIEVirtualDIBList {
 public:
  static constexpr int64_t kBlockSize = 65536;  // region granularity and initial file size
  static constexpr int64_t kHeaderSize = 48;    // 40-byte header and a black, white palette

  TIEVirtualDIBList();
  ~TIEVirtualDIBList();
  TIEVirtualDIBList(const TIEVirtualDIBList&) = delete;
  TIEVirtualDIBList& operator=(const TIEVirtualDIBList&) = delete;

  // Creates the file in `folder` (empty: the temp folder). Where no file can
  // be made there, the images live in anonymous memory instead. Adding to a
  // list that was never created (or was cleared) creates it first.
  bool Create(const std::string& folder = {});
  // Forgets every image and closes the file.
  void Clear();

  // A new image of zeroed pixels, or null when the size or depth (1, 4, 8,
  // 16, 24 or 32 bits) is not valid or the file cannot grow.
  TIEVirtualImage* Add(int32_t width, int32_t height, int bits);
  // Add with the bitmap's size and depth, then its rows.
  TIEVirtualImage* AddBitmap(const TIEWorkingBitmap& bitmap);
  // The image's region goes to the free list; the handle dies.
  void Delete(TIEVirtualImage* image);
  // Grows the file ahead for `count` more images of this size.
  bool Reserve(int32_t width, int32_t height, int bits, int64_t count);

  // Maps the image, unmapping the longest-mapped ones beyond the limit.
  // Pointers into an image stay valid while it is mapped.
  bool Map(TIEVirtualImage* image);
  void Unmap(TIEVirtualImage* image);
  int MappingLimit() const { return mappingLimit_; }
  void SetMappingLimit(int limit);
  int MappedCount() const { return int(mapped_.size()); }
  bool IsMapped(const TIEVirtualImage* image) const;

  // The stored image into `bitmap` (1 and 24 bits become those formats; other
  // depths need a bitmap of that depth already). False when it cannot.
  bool CopyToBitmap(TIEVirtualImage* image, TIEWorkingBitmap& bitmap);
  // The bitmap's rows into the image, which gets a new region when the size
  // or depth differ.
  bool StoreBitmap(TIEVirtualImage* image, const TIEWorkingBitmap& bitmap);

  // A bitmap holding the image, shared by every caller until the last one
  // releases it; null when the image cannot be copied out.
  TIEWorkingBitmap* GetBitmap(TIEVirtualImage* image);
  // Ends one GetBitmap; with writeBack the bitmap's content is stored first.
  void ReleaseBitmap(TIEWorkingBitmap* bitmap, bool writeBack);

  // From the checked-out bitmap while there is one, else from the region.
  int32_t ImageWidth(TIEVirtualImage* image);
  int32_t ImageHeight(TIEVirtualImage* image);
  int ImageBits(TIEVirtualImage* image);
  TIEImageRows ImageRows(TIEVirtualImage* image);
  const uint8_t* ImageHeader(TIEVirtualImage* image);

  int ImageCount() const { return int(images_.size()); }
  TIEVirtualImage* Image(int index) const { return images_[size_t(index)].get(); }
  int64_t FileSize() const { return file_.Size(); }
  int64_t RegionSize(const TIEVirtualImage* image) const;
  int64_t RegionOffset(const TIEVirtualImage* image) const;
  size_t FreeRegionCount() const { return free_.size(); }

  // ((height x RowLength + 48 + 65535) div 65536) x 65536.
  static int64_t RegionSizeFor(int32_t width, int32_t height, int bits);

 private:
  struct TRegion {
    int64_t Offset = 0, Size = 0;
  };

  bool EnsureFile();
  bool TakeRegion(int64_t size, TRegion& region);
  bool GrowFor(int64_t end);
  void FreeRegion(TIEVirtualImage* image);
  bool Place(TIEVirtualImage* image, int32_t width, int32_t height, int bits);
  void CopyRowsIn(TIEVirtualImage* image, const TIEWorkingBitmap& bitmap);
  TIEVirtualImage* Owner(const TIEWorkingBitmap* bitmap) const;

  std::string folder_;
  TIETempFile file_;
  std::vector<std::unique_ptr<TIEVirtualImage>> images_;
  std::vector<TRegion> free_;
  std::vector<TIEVirtualImage*> mapped_;  // oldest first
  int mappingLimit_ = 10;
  int64_t end_ = 0;           // first byte after the last appended region
  int64_t lastAppended_ = 0;  // size of that region
};

}  // namespace quillet
