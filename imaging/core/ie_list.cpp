// The byte-block list and its typed forms.
#include "imaging/core/ie_list.h"

#include <algorithm>
#include <cstring>

namespace quillet {

TIEList::TIEList(int64_t itemSize) : itemSize_(std::max<int64_t>(itemSize, 0)) {}

void TIEList::SetCount(int64_t n) {
  if (n < 0) return;
  data_.resize(size_t(n * itemSize_));
  count_ = n;
  Touch();
}

void TIEList::Delete(int64_t index) {
  if (index < 0 || index >= count_) return;
  const auto at = data_.begin() + index * itemSize_;
  data_.erase(at, at + itemSize_);
  --count_;
  Touch();
}

int64_t TIEList::IndexOf(const void* item) const {
  if (itemSize_ == 0) return count_ > 0 ? 0 : -1;
  for (int64_t i = 0; i < count_; ++i)
    if (std::memcmp(data_.data() + i * itemSize_, item, size_t(itemSize_)) == 0) return i;
  return -1;
}

int64_t TIEList::Add(const void* item) {
  const auto* p = static_cast<const uint8_t*>(item);
  const size_t old = data_.size();
  // The item may be one of our own (Add(Items(0))): note where before growing.
  const bool own = !data_.empty() && p >= data_.data() && p < data_.data() + old;
  const size_t offset = own ? size_t(p - data_.data()) : 0;
  data_.resize(old + size_t(itemSize_));
  if (itemSize_ > 0) std::memmove(data_.data() + old, own ? data_.data() + offset : p, size_t(itemSize_));
  Touch();
  return count_++;
}

uint8_t* TIEList::Items(int64_t index) {
  if (index < 0 || index >= count_) return nullptr;
  return data_.data() + index * itemSize_;
}

const uint8_t* TIEList::Items(int64_t index) const {
  if (index < 0 || index >= count_) return nullptr;
  return data_.data() + index * itemSize_;
}

void TIEList::Put(int64_t index, const void* item) {
  if (index < 0 || index >= count_) return;
  std::memmove(data_.data() + index * itemSize_, item, size_t(itemSize_));
  Touch();
}

void TIEList::Assign(const TIEList& other) {
  if (&other == this) return;
  itemSize_ = other.itemSize_;
  count_ = other.count_;
  data_ = other.data_;
  changed_ = other.changed_;
}

void TIEList::Clear() {
  count_ = 0;
  data_.clear();
  Touch();
}

}  // namespace quillet
