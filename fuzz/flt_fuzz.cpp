// Fuzz target of the user filter file reader: any bytes decode or are refused
// as short, and what decodes with a good header encodes back to its first
// 43 bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "imaging/proc/user_filter_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  const std::optional<TUserFilterFile> file = DecodeUserFilter(std::span<const uint8_t>(data, size));
  if (!file) {
    if (size >= kUserFilterFileSize) std::abort();
    return 0;
  }
  if (file->HeaderOk && std::memcmp(EncodeUserFilter(file->Values).data(), data, kUserFilterFileSize) != 0)
    std::abort();
  if (!file->HeaderOk && !(file->Values == TUserFilterValues{})) std::abort();
  return 0;
}
