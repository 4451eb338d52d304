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

// At most `most` parts: the last keeps the rest of the text, separators and
// all, and may be empty.
inline std::vector<std::string> SplitFirst(const std::string& text, char separator, size_t most) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (size_t at; parts.size() + 1 < most && (at = text.find(separator, from)) != std::string::npos; from = at + 1)
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

// The whole text as a 32-bit integer.
inline bool ToInt(const std::string& text, int32_t& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace quillet::cli
