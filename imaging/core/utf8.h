// Decoding UTF-8 leniently: every malformed, overlong or surrogate sequence
// gives one U+FFFD and decoding goes on at the next byte.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillet {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code point starting at text[pos], advancing pos past it.
char32_t NextCodePoint(std::string_view text, size_t& pos);

template <class F>
void ForEachCodePoint(std::string_view text, F&& each) {
  for (size_t pos = 0; pos < text.size();) each(NextCodePoint(text, pos));
}

}  // namespace quillet
