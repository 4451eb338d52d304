// Arguments of the "name:a,b,c" texts that the apply steps and the draw ops
// take: the parts of a list and whole numbers in them.
#pragma once

#include <charconv>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace quillet::cli {

inline std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// The whole text as a 32-bit integer.
inline bool ToInt(const std::string& text, int32_t& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace quillet::cli
