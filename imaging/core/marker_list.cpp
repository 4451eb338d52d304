// The marker list: parallel type bytes and memory streams.
#include "imaging/core/marker_list.h"

namespace quillet {

bool TIEMarkerList::Acceptable(const void* data, int64_t length) {
  return length >= 0 && length <= kMaxMarkerLength && (data || length == 0);
}

std::unique_ptr<TIEMemoryStream> TIEMarkerList::Copy(const void* data, int64_t length) {
  const auto* p = static_cast<const uint8_t*>(data);
  return std::make_unique<TIEMemoryStream>(length > 0 ? std::vector<uint8_t>(p, p + length)
                                                      : std::vector<uint8_t>());
}

int64_t TIEMarkerList::Add(uint8_t type, const void* data, int64_t length) {
  if (!Acceptable(data, length)) return -1;
  items_.push_back(Item{type, Copy(data, length)});
  return Count() - 1;
}

bool TIEMarkerList::Put(int64_t index, uint8_t type, const void* data, int64_t length) {
  if (!InRange(index) || !Acceptable(data, length)) return false;
  // Copy first: the data may be this very marker's.
  auto copy = Copy(data, length);
  items_[size_t(index)] = Item{type, std::move(copy)};
  return true;
}

void TIEMarkerList::Delete(int64_t index) {
  if (InRange(index)) items_.erase(items_.begin() + index);
}

int64_t TIEMarkerList::IndexOf(uint8_t type) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].type == type) return int64_t(i);
  return -1;
}

void TIEMarkerList::Assign(const TIEMarkerList& other) {
  if (&other == this) return;
  std::vector<Item> items;
  items.reserve(other.items_.size());
  for (const Item& it : other.items_)
    items.push_back(Item{it.type, std::make_unique<TIEMemoryStream>(it.data->Bytes())});
  items_ = std::move(items);
}

uint8_t TIEMarkerList::MarkerType(int64_t index) const { return InRange(index) ? items_[size_t(index)].type : 0; }

TIEMemoryStream* TIEMarkerList::MarkerData(int64_t index) {
  return InRange(index) ? items_[size_t(index)].data.get() : nullptr;
}

const uint8_t* TIEMarkerList::MarkerBytes(int64_t index) const {
  return InRange(index) ? items_[size_t(index)].data->Data() : nullptr;
}

int64_t TIEMarkerList::MarkerLength(int64_t index) const {
  return InRange(index) ? items_[size_t(index)].data->Size() : 0;
}

}  // namespace quillet
