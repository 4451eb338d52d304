#include "imaging/proc/user_filter_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace quillet {

namespace {

constexpr uint8_t kHeader[3] = {1, 3, 3};

constexpr TUserFilterPreset kPresets[] = {
    {"None", "none", {{0, 0, 0, 0, 1, 0, 0, 0, 0}, 0}},
    {"Blur", "blur", {{1, 1, 1, 1, 1, 1, 1, 1, 1}, 9}},
    {"Edges", "edges", {{1, 1, 1, 1, -8, 1, 1, 1, 1}, 1}},
    {"Emboss", "emboss", {{-1, 0, 1, -1, 1, 1, -1, 0, 1}, 1}},
    {"High Pass 1", "highpass1", {{0, -1, 0, -1, 5, -1, 0, -1, 0}, 1}},
    {"High Pass 2", "highpass2", {{-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1}},
    {"High Pass 3", "highpass3", {{1, -2, 1, -2, 5, -2, 1, -2, 1}, 1}},
    {"Low Pass 1", "lowpass1", {{1, 1, 1, 1, 1, 1, 1, 1, 1}, 10}},
    {"Low Pass 2", "lowpass2", {{1, 2, 1, 2, 4, 2, 1, 2, 1}, 16}},
};

void PutLe32(uint8_t* p, int32_t v) {
  const uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(u >> (8 * i));
}

int32_t GetLe32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

}  // namespace

std::span<const TUserFilterPreset> UserFilterPresets() { return kPresets; }

const TUserFilterPreset* FindUserFilterPreset(std::string_view keyword) {
  for (const TUserFilterPreset& p : kPresets)
    if (p.Keyword == keyword) return &p;
  return nullptr;
}

std::array<uint8_t, kUserFilterFileSize> EncodeUserFilter(const TUserFilterValues& values) {
  std::array<uint8_t, kUserFilterFileSize> bytes{};
  std::memcpy(bytes.data(), kHeader, 3);
  for (size_t i = 0; i < 9; ++i) PutLe32(&bytes[3 + 4 * i], values.Coefficients[i]);
  PutLe32(&bytes[39], values.Divisor);
  return bytes;
}

std::optional<TUserFilterFile> DecodeUserFilter(std::span<const uint8_t> bytes) {
  if (bytes.size() < kUserFilterFileSize) return std::nullopt;
  TUserFilterFile file;
  file.HeaderOk = std::memcmp(bytes.data(), kHeader, 3) == 0;
  if (!file.HeaderOk) return file;
  for (size_t i = 0; i < 9; ++i) file.Values.Coefficients[i] = GetLe32(&bytes[3 + 4 * i]);
  file.Values.Divisor = GetLe32(&bytes[39]);
  return file;
}

std::optional<TUserFilterFile> ReadUserFilterFile(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(kUserFilterFileSize);
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  bytes.resize(size_t(in.gcount()));
  std::optional<TUserFilterFile> file = DecodeUserFilter(bytes);
  if (!file) error = path + " is not a filter file: " + std::to_string(bytes.size()) + " bytes, 43 needed";
  return file;
}

bool WriteUserFilterFile(const std::string& path, const TUserFilterValues& values, std::string& error) {
  const std::string temporary = path + ".tmp";
  const auto bytes = EncodeUserFilter(values);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
      error = "cannot write " + temporary + ": " + std::strerror(errno);
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace quillet
