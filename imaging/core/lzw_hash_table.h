// The string table of the hashing LZW encoders (GIF, TIFF): 5003 slots with
// open addressing, keyed by (prefix code, symbol).
#pragma once

#include <array>
#include <cstdint>

namespace quillet {

class TIELzwHashTable {
 public:
  static constexpr int kSlots = 5003;  // prime, so a probe sequence visits every slot

  TIELzwHashTable() { Clear(); }
  void Clear() { keys_.fill(-1); }

  // The code stored for (prefix, symbol), or -1 with `slot` set to the empty
  // slot where it belongs. The key is prefix + symbol * 4096; the first probe
  // is (symbol << 4) ^ prefix, and collisions step back by 5003 - first slot.
  int Find(int prefix, int symbol, int& slot) const {
    const int32_t key = prefix + (symbol << 12);
    int i = (symbol << 4) ^ prefix;
    const int step = i == 0 ? 1 : kSlots - i;
    while (keys_[size_t(i)] != key) {
      if (keys_[size_t(i)] < 0) return slot = i, -1;
      i -= step;
      if (i < 0) i += kSlots;
    }
    return slot = i, codes_[size_t(i)];
  }
  // Stores `code` in the slot Find gave for (prefix, symbol).
  void Insert(int slot, int prefix, int symbol, int code) {
    keys_[size_t(slot)] = prefix + (symbol << 12);
    codes_[size_t(slot)] = uint16_t(code);
  }

 private:
  std::array<int32_t, kSlots> keys_;
  std::array<uint16_t, kSlots> codes_{};
};

}  // namespace quillet
