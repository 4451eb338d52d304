// TIEList, a list of fixed-size items kept as one block of bytes, and its
// typed forms: integers and reals with a range and current value, records.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace quillet {

class TIEList {
 public:
  explicit TIEList(int64_t itemSize);
  virtual ~TIEList() = default;
  TIEList(const TIEList&) = default;
  TIEList& operator=(const TIEList&) = default;

  int64_t Count() const { return count_; }
  int64_t ItemSize() const { return itemSize_; }
  // Count x ItemSize bytes.
  uint8_t* Data() { return data_.data(); }
  const uint8_t* Data() const { return data_.data(); }

  // Bit 0 is set by every change; the owner clears it.
  uint32_t Changed() const { return changed_; }
  void SetChanged(uint32_t flags) { changed_ = flags; }

  // Keeps the first min(old, n) items; new items are zero. Negative n is ignored.
  void SetCount(int64_t n);
  void Delete(int64_t index);
  // Index of the first item whose bytes equal `item`, or -1.
  int64_t IndexOf(const void* item) const;
  // Appends a copy of ItemSize bytes; returns its index.
  int64_t Add(const void* item);
  // Address of an item, nullptr outside 0..Count-1.
  uint8_t* Items(int64_t index);
  const uint8_t* Items(int64_t index) const;
  void Put(int64_t index, const void* item);
  // Copies count, item size, changed flag and data (typed lists also their
  // range and current value; they ignore a list of another item size).
  virtual void Assign(const TIEList& other);
  virtual void Clear();

 protected:
  void Touch() { changed_ |= 1; }

 private:
  int64_t itemSize_;
  int64_t count_ = 0;
  std::vector<uint8_t> data_;
  uint32_t changed_ = 0;
};

// Items of one number type, with a range and current value (the scanner
// capabilities): TIEIntegerList holds 32-bit integers, TIEDoubleList 8-byte reals.
template <class T>
class TIERangeList : public TIEList {
 public:
  TIERangeList() : TIEList(sizeof(T)) {}

  T RangeMin = 0, RangeMax = 0, RangeStep = 0, CurrentValue = 0;

  using TIEList::Add;
  using TIEList::IndexOf;
  using TIEList::Put;
  int64_t Add(T value) { return TIEList::Add(&value); }
  int64_t IndexOf(T value) const { return TIEList::IndexOf(&value); }
  void Put(int64_t index, T value) { TIEList::Put(index, &value); }
  // The item, or 0 outside the list.
  T Item(int64_t index) const {
    T v = 0;
    if (const uint8_t* p = Items(index)) std::memcpy(&v, p, sizeof(T));
    return v;
  }

  // Lists of another item size are ignored: the typed interface relies on it.
  void Assign(const TIEList& other) override {
    if (other.ItemSize() != int64_t(sizeof(T))) return;
    TIEList::Assign(other);
    if (const auto* o = dynamic_cast<const TIERangeList*>(&other))
      RangeMin = o->RangeMin, RangeMax = o->RangeMax, RangeStep = o->RangeStep, CurrentValue = o->CurrentValue;
  }
  void Clear() override {
    TIEList::Clear();
    RangeMin = RangeMax = RangeStep = CurrentValue = 0;
  }
};

using TIEIntegerList = TIERangeList<int32_t>;
using TIEDoubleList = TIERangeList<double>;

// Records of a size fixed at creation (the span stack of the magic wand).
class TIERecordList : public TIEList {
 public:
  explicit TIERecordList(int64_t recordSize) : TIEList(recordSize) {}
};

}  // namespace quillet
