#include "imaging/core/utf8.h"

namespace quillet {

char32_t NextCodePoint(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return uint8_t(text[i]); };
  const uint8_t lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  const int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
  if (extra < 0 || pos + size_t(extra) >= text.size()) {
    ++pos;
    return kReplacementCharacter;
  }
  char32_t c = lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    const uint8_t b = byte(pos + size_t(i));
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return kReplacementCharacter;
    }
    c = c << 6 | (b & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
    ++pos;
    return kReplacementCharacter;
  }
  pos += size_t(extra) + 1;
  return c;
}

}  // namespace quillet
