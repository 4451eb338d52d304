// IPTC records and their APP13 (Photoshop image resource 0x0404) block.
#include "imaging/core/iptc_info_list.h"

#include <cstring>

namespace quillet {

namespace {

constexpr char kPhotoshop[] = "Photoshop 3.0";  // followed by a zero byte
constexpr size_t kPhotoshopLength = sizeof(kPhotoshop);  // with the zero
constexpr uint16_t kIptcResource = 0x0404;

uint32_t BE32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

const std::vector<uint8_t> kNoData;

}  // namespace

int64_t TIEIPTCInfoList::Add(uint8_t record, uint8_t dataset, int64_t length, const void* data) {
  if (length < 0 || length > kMaxDataLength || (!data && length > 0)) return -1;
  const auto* p = static_cast<const uint8_t*>(data);
  items_.push_back(Item{record, dataset, length > 0 ? std::vector<uint8_t>(p, p + length) : std::vector<uint8_t>()});
  changed_ = true;
  return Count() - 1;
}

void TIEIPTCInfoList::Delete(int64_t index) {
  if (!InRange(index)) return;
  items_.erase(items_.begin() + index);
  changed_ = true;
}

int64_t TIEIPTCInfoList::IndexOf(uint8_t record, uint8_t dataset) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].record == record && items_[i].dataset == dataset) return int64_t(i);
  return -1;
}

void TIEIPTCInfoList::Clear() {
  items_.clear();
  changed_ = true;
}

void TIEIPTCInfoList::Assign(const TIEIPTCInfoList& other) {
  if (&other != this) items_ = other.items_;
  changed_ = true;
}

uint8_t TIEIPTCInfoList::RecordNumber(int64_t index) const { return InRange(index) ? items_[size_t(index)].record : 0; }
uint8_t TIEIPTCInfoList::DataSet(int64_t index) const { return InRange(index) ? items_[size_t(index)].dataset : 0; }

const std::vector<uint8_t>& TIEIPTCInfoList::Data(int64_t index) const {
  return InRange(index) ? items_[size_t(index)].data : kNoData;
}

std::string TIEIPTCInfoList::StringItem(int64_t index) const {
  const auto& d = Data(index);
  return std::string(d.begin(), d.end());
}

std::vector<uint8_t> TIEIPTCInfoList::SaveToBlock() const {
  // "Photoshop 3.0" 0, then one "8BIM" resource 0x0404 with an empty name and
  // the 4-byte size of its records (filled in below).
  static constexpr uint8_t kPrefix[26] = {'P', 'h', 'o', 't', 'o', 's', 'h', 'o', 'p', ' ', '3', '.', '0', 0,
                                          '8', 'B', 'I', 'M', kIptcResource >> 8, kIptcResource & 0xFF, 0, 0,
                                          0, 0, 0, 0};
  // 2:0 is the record version, which readers expect to be written by themselves.
  auto written = [](const Item& it) { return !(it.record == 2 && it.dataset == 0); };
  size_t records = 0;
  for (const Item& it : items_)
    if (written(it)) records += (it.data.size() < 0x8000 ? 5 : 9) + it.data.size();
  const size_t total = sizeof(kPrefix) + records;
  // Sized once and filled through a pointer (the padding byte stays zero).
  std::vector<uint8_t> out(total + (total & 1));
  uint8_t* p = out.data();
  std::memcpy(p, kPrefix, sizeof(kPrefix));
  for (int i = 0; i < 4; ++i) p[22 + i] = uint8_t(uint32_t(records) >> (24 - 8 * i));
  p += sizeof(kPrefix);
  for (const Item& it : items_) {
    if (!written(it)) continue;
    const size_t n = it.data.size();
    *p++ = 0x1C;
    *p++ = it.record;
    *p++ = it.dataset;
    if (n < 0x8000) {
      *p++ = uint8_t(n >> 8);
      *p++ = uint8_t(n);
    } else {
      *p++ = 0x80;
      *p++ = 0x04;
      for (int i = 0; i < 4; ++i) *p++ = uint8_t(uint32_t(n) >> (24 - 8 * i));
    }
    if (n > 0) std::memcpy(p, it.data.data(), n);
    p += n;
  }
  return out;
}

void TIEIPTCInfoList::ParseRecords(const uint8_t* p, size_t size) {
  size_t at = 0;
  while (at < size && p[at] != 0x1C) ++at;
  while (at < size && p[at] == 0x1C && size - at >= 5) {
    const uint8_t record = p[at + 1], dataset = p[at + 2];
    uint64_t length;
    size_t head;
    if (p[at + 3] & 0x80) {
      // Extended length: 0x80 0x04, then a 4-byte big-endian length.
      if (size - at < 9) break;
      length = BE32(p + at + 5);
      head = 9;
    } else {
      length = uint64_t(p[at + 3]) << 8 | p[at + 4];
      head = 5;
    }
    if (length > size - at - head) break;
    const uint8_t* d = p + at + head;
    items_.push_back(Item{record, dataset, std::vector<uint8_t>(d, d + length)});
    at += head + size_t(length);
  }
}

void TIEIPTCInfoList::LoadFromBlock(const uint8_t* data, size_t size) {
  items_.clear();
  changed_ = false;
  if (!data || size == 0) return;
  if (size >= kPhotoshopLength && std::memcmp(data, kPhotoshop, kPhotoshopLength) == 0) {
    // Walk the image resources to the IPTC one, so that a 0x1C byte in a
    // size field or in another resource is never taken for a record.
    size_t at = kPhotoshopLength;
    while (size - at >= 12 && std::memcmp(data + at, "8BIM", 4) == 0) {
      const unsigned id = unsigned(data[at + 4]) << 8 | data[at + 5];
      const size_t nameField = (size_t(data[at + 6]) + 2) & ~size_t(1);  // Pascal name padded to even
      if (size - at - 6 < nameField + 4) break;
      const size_t sizeAt = at + 6 + nameField;
      const uint64_t length = BE32(data + sizeAt);
      const size_t body = sizeAt + 4;
      const size_t avail = size - body;
      if (id == kIptcResource) {
        ParseRecords(data + body, length < avail ? size_t(length) : avail);
        return;
      }
      if (length > avail) break;
      at = body + size_t(length) + (length & 1);
      if (at > size) break;
    }
    return;
  }
  ParseRecords(data, size);
}

}  // namespace quillet
