// Reading file palettes into the fixed 256-entry table.
#include "imaging/core/palette_table.h"

#include <algorithm>
#include <vector>

namespace quillet {

bool ReadPaletteEntries(TIEStream& stream, int64_t count, int entrySize, TPaletteTable& table) {
  table = TPaletteTable{};
  const int64_t kept = std::clamp<int64_t>(count, 0, 256);
  std::vector<uint8_t> raw(static_cast<size_t>(kept * entrySize));
  if (!stream.ReadExact(raw.data(), int64_t(raw.size()))) return false;
  for (int64_t i = 0; i < kept; ++i) {
    const uint8_t* e = &raw[size_t(i * entrySize)];
    table.Colors[size_t(i)] = TBGR{e[0], e[1], e[2]};
  }
  table.Count = int(kept);
  if (count > kept) stream.Seek((count - kept) * entrySize, TSeekOrigin::soCurrent);
  return true;
}

}  // namespace quillet
