// TIEIPTCInfoList: IPTC records (record, dataset, data) of an image, and the
// Photoshop "8BIM" block of the JPEG APP13 marker that carries them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

class TIEIPTCInfoList {
 public:
  // A dataset longer than this cannot be written (4-byte extended length).
  static constexpr int64_t kMaxDataLength = 0xFFFFFFFFll;

  TIEIPTCInfoList() = default;
  // A copy counts as a change, as Assign does.
  TIEIPTCInfoList(const TIEIPTCInfoList& other) { Assign(other); }
  TIEIPTCInfoList& operator=(const TIEIPTCInfoList& other) {
    Assign(other);
    return *this;
  }

  int64_t Count() const { return int64_t(items_.size()); }

  // Appends a copy of the data; its index, or -1 when the length is negative,
  // over kMaxDataLength or the data is missing.
  int64_t Add(uint8_t record, uint8_t dataset, int64_t length, const void* data);
  int64_t Add(uint8_t record, uint8_t dataset, const std::string& text) {
    return Add(record, dataset, int64_t(text.size()), text.data());
  }
  void Delete(int64_t index);
  // First item of that record and dataset, or -1.
  int64_t IndexOf(uint8_t record, uint8_t dataset) const;
  void Clear();
  void Assign(const TIEIPTCInfoList& other);

  // By index; 0 / empty out of range.
  uint8_t RecordNumber(int64_t index) const;
  uint8_t DataSet(int64_t index) const;
  const std::vector<uint8_t>& Data(int64_t index) const;
  std::string StringItem(int64_t index) const;

  // Set by every change; false after LoadFromBlock.
  bool Changed() const { return changed_; }
  void SetChanged(bool v) { changed_ = v; }

  // "Photoshop 3.0", 0, "8BIM", 04 04, 00 00, a 4-byte big-endian size of the
  // records, then each record but 2:0 as 1C rec ds len data; padded to even.
  std::vector<uint8_t> SaveToBlock() const;
  // Replaces the list with the records of an APP13 block (or of bare IPTC
  // data), stopping at the first record that does not fit. Clears Changed.
  void LoadFromBlock(const uint8_t* data, size_t size);

 private:
  struct Item {
    uint8_t record = 0, dataset = 0;
    std::vector<uint8_t> data;
  };
  bool InRange(int64_t index) const { return index >= 0 && index < Count(); }
  void ParseRecords(const uint8_t* p, size_t size);

  std::vector<Item> items_;
  bool changed_ = false;
};

}  // namespace quillet
