#include "imaging/core/hatch.h"

#include <array>

namespace quillet {

namespace {

constexpr uint8_t Column(int64_t x) { return uint8_t(1u << (x & 7)); }

// The eight row masks of every style, in the enumeration's order.
constexpr std::array<std::array<uint8_t, 8>, 8> MakeTable() {
  std::array<std::array<uint8_t, 8>, 8> t{};
  for (int y = 0; y < 8; ++y) {
    const uint8_t horizontal = y == 0 ? 0xFF : 0, vertical = Column(0);
    const uint8_t forward = Column(8 - y), backward = Column(y);
    t[size_t(TIEBrushStyle::bsSolid)][size_t(y)] = 0xFF;
    t[size_t(TIEBrushStyle::bsClear)][size_t(y)] = 0;
    t[size_t(TIEBrushStyle::bsHorizontal)][size_t(y)] = horizontal;
    t[size_t(TIEBrushStyle::bsVertical)][size_t(y)] = vertical;
    t[size_t(TIEBrushStyle::bsFDiagonal)][size_t(y)] = forward;
    t[size_t(TIEBrushStyle::bsBDiagonal)][size_t(y)] = backward;
    t[size_t(TIEBrushStyle::bsCross)][size_t(y)] = horizontal | vertical;
    t[size_t(TIEBrushStyle::bsDiagCross)][size_t(y)] = forward | backward;
  }
  return t;
}

constexpr auto kTable = MakeTable();

}  // namespace

uint8_t HatchRow(TIEBrushStyle style, int64_t y) {
  const auto s = size_t(style);
  return s < kTable.size() ? kTable[s][size_t(y & 7)] : 0;
}

}  // namespace quillet
