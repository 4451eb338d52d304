// The string table of the LZW encoders: (prefix code, byte) pairs to codes
// in an open-addressing hash of 5003 slots. The key of a pair is
// prefix + byte x 4096; the first probe is (byte << 4) xor prefix, and on a
// collision the probe steps back by 5003 minus the first slot (1 when that
// slot is 0), wrapping around.
#pragma once

#include <array>
#include <cstdint>

namespace quillet {

class TLzwHashTable {
 public:
  static constexpr int kSlots = 5003;

  TLzwHashTable() { Clear(); }
  // Every slot empty.
  void Clear() { keys_.fill(-1); }

  // The code of (prefix, byte), or -1 with `slot` set to the empty slot
  // where Insert puts it. Prefixes are codes below 4096.
  int Find(int prefix, int byte, int& slot) const {
    const int32_t key = prefix + (byte << 12);
    int i = (byte << 4) ^ prefix;
    const int step = i == 0 ? 1 : kSlots - i;
    for (;;) {
      if (keys_[size_t(i)] == key) return codes_[size_t(i)];
      if (keys_[size_t(i)] < 0) return slot = i, -1;
      i -= step;
      if (i < 0) i += kSlots;
    }
  }
  void Insert(int slot, int prefix, int byte, int code) {
    keys_[size_t(slot)] = prefix + (byte << 12);
    codes_[size_t(slot)] = uint16_t(code);
  }

 private:
  std::array<int32_t, kSlots> keys_;
  std::array<uint16_t, kSlots> codes_{};
};

}  // namespace quillet
