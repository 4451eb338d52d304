// User filters as the preview dialog offers them: the nine presets, and the
// filter file of 43 bytes (the bytes 1, 3, 3, then the nine coefficients of
// the 3 x 3 filter in row-major order and the divisor, each a 32-bit
// little-endian signed integer).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillet {

struct TUserFilterValues {
  std::array<int32_t, 9> Coefficients{};
  int32_t Divisor = 0;
  friend bool operator==(const TUserFilterValues&, const TUserFilterValues&) = default;
};

struct TUserFilterPreset {
  std::string_view Name;     // as the preset list shows it ("High Pass 1")
  std::string_view Keyword;  // for the command line ("highpass1")
  TUserFilterValues Values;
};

// "None", "Blur", "Edges", "Emboss", "High Pass 1" to "3", "Low Pass 1" and "2".
std::span<const TUserFilterPreset> UserFilterPresets();
const TUserFilterPreset* FindUserFilterPreset(std::string_view keyword);

constexpr size_t kUserFilterFileSize = 43;

std::array<uint8_t, kUserFilterFileSize> EncodeUserFilter(const TUserFilterValues& values);

struct TUserFilterFile {
  TUserFilterValues Values;
  bool HeaderOk = false;  // a file whose first three bytes differ loads as all zeros
};

// None when fewer than 43 bytes; bytes after the 43rd are ignored.
std::optional<TUserFilterFile> DecodeUserFilter(std::span<const uint8_t> bytes);

// Reading fails (with `error` saying why) when the file is missing,
// unreadable or short.
std::optional<TUserFilterFile> ReadUserFilterFile(const std::string& path, std::string& error);
// Written to a temporary file beside `path`, then renamed over it, so a failed
// write leaves an old file as it was.
bool WriteUserFilterFile(const std::string& path, const TUserFilterValues& values, std::string& error);

}  // namespace quillet
