// TIEMarkerList: the JPEG markers (APPn, COM) of an image, as a type byte and
// a memory stream of data each, kept for writing back.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/core/stream.h"

namespace quillet {

class TIEMarkerList {
 public:
  // The data of a marker segment holds at most 65535 bytes.
  static constexpr int64_t kMaxMarkerLength = 65535;

  TIEMarkerList() = default;
  TIEMarkerList(const TIEMarkerList& other) { Assign(other); }
  TIEMarkerList& operator=(const TIEMarkerList& other) {
    Assign(other);
    return *this;
  }

  int64_t Count() const { return int64_t(items_.size()); }

  // Appends a copy of the data; its index, or -1 (nothing added) when the
  // length is negative or over 65535, or the data is missing.
  int64_t Add(uint8_t type, const void* data, int64_t length);
  // Replaces marker `index`; false (nothing changed) out of range or when Add would refuse.
  bool Put(int64_t index, uint8_t type, const void* data, int64_t length);
  void Delete(int64_t index);
  // First marker of that type, or -1.
  int64_t IndexOf(uint8_t type) const;
  void Clear() { items_.clear(); }
  void Assign(const TIEMarkerList& other);

  // By index; 0 / nullptr / 0 out of range.
  uint8_t MarkerType(int64_t index) const;
  TIEMemoryStream* MarkerData(int64_t index);
  const uint8_t* MarkerBytes(int64_t index) const;
  int64_t MarkerLength(int64_t index) const;

 private:
  struct Item {
    uint8_t type = 0;
    std::unique_ptr<TIEMemoryStream> data;
  };
  static bool Acceptable(const void* data, int64_t length);
  static std::unique_ptr<TIEMemoryStream> Copy(const void* data, int64_t length);
  bool InRange(int64_t index) const { return index >= 0 && index < Count(); }

  std::vector<Item> items_;
};

}  // namespace quillet
