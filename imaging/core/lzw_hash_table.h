// The string table of the hashing LZW encoders (GIF, TIFF): 8209 slots with
// open addressing, keyed by (prefix code, symbol). With at most 4096 codes
// the table stays under half full, so a search mostly ends at its first or
// second probe.
#pragma once

#include <array>
#include <cstdint>

namespace quillet {

class TIELzwHashTable {
 public:
  static constexpr int kSlots = 8209;  // prime, so a probe sequence visits every slot

  TIELzwHashTable() { Clear(); }
  void Clear() { entries_.fill(kEmpty); }

  // The code stored for (prefix, symbol), or -1 with `slot` set to the empty
  // slot where it belongs. The key is prefix + symbol * 4096. The first probe
  // XORs the prefix with the symbol at two shifts, so that symbols of few
  // bits spread over all 8192 first slots too; collisions step back by
  // kSlots - first slot.
  int Find(int prefix, int symbol, int& slot) const {
    const uint32_t key = uint32_t(prefix + (symbol << 12));
    int i = (prefix ^ (symbol << 5) ^ (symbol << 9)) & 8191;
    const int step = i == 0 ? 1 : kSlots - i;
    for (;;) {
      const uint32_t entry = entries_[size_t(i)];
      if (entry == kEmpty) return slot = i, -1;
      if (entry >> 12 == key) return slot = i, int(entry & 0xFFF);
      i -= step;
      if (i < 0) i += kSlots;
    }
  }
  // Stores `code` (below 4096) in the slot Find gave for (prefix, symbol).
  void Insert(int slot, int prefix, int symbol, int code) {
    entries_[size_t(slot)] = uint32_t(prefix + (symbol << 12)) << 12 | uint32_t(code);
  }

 private:
  // Key and code in one word, so that a probe reads one place. The empty
  // word's top bits equal the key of (4095, 255): test it first.
  static constexpr uint32_t kEmpty = 0xFFFFFFFF;
  std::array<uint32_t, kSlots> entries_;
};

}  // namespace quillet
