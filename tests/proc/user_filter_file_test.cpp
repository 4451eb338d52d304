// User filter files: the exact bytes of a preset, round trips, and files that
// cannot be read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "imaging/proc/user_filter_file.h"
#include "support/test_support.h"

namespace quillet {
namespace {

std::vector<uint8_t> Bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::filesystem::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TEST(UserFilterFile, EmbossIsItsFortyThreeBytesAndEveryPresetRoundTrips) {
  test::TempDir dir;
  const auto path = (dir.Path() / "emboss.flt").string();
  std::string error;
  ASSERT_TRUE(WriteUserFilterFile(path, FindUserFilterPreset("emboss")->Values, error)) << error;
  const std::vector<uint8_t> expected = {1, 3, 3, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                                         1, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0,
                                         1, 0, 0, 0};
  EXPECT_EQ(Bytes(path), expected);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  ASSERT_EQ(UserFilterPresets().size(), 9u);
  for (const TUserFilterPreset& p : UserFilterPresets()) {
    ASSERT_TRUE(WriteUserFilterFile(path, p.Values, error));
    const auto file = ReadUserFilterFile(path, error);
    ASSERT_TRUE(file && file->HeaderOk) << p.Name;
    EXPECT_EQ(file->Values, p.Values) << p.Name;
  }
  const TUserFilterValues extremes{{INT32_MIN, INT32_MAX, -1, 0, 1, 2, 3, 4, 5}, INT32_MIN};
  EXPECT_EQ(DecodeUserFilter(EncodeUserFilter(extremes))->Values, extremes);
}

TEST(UserFilterFile, WrongHeaderShortMissingAndLongFiles) {
  test::TempDir dir;
  const auto path = dir.Path() / "f.flt";
  const auto encoded = EncodeUserFilter(FindUserFilterPreset("lowpass2")->Values);
  std::vector<uint8_t> bytes(encoded.begin(), encoded.end());
  std::string error;
  bytes.push_back(77);  // bytes after the 43rd are ignored
  Put(path, bytes);
  EXPECT_EQ(ReadUserFilterFile(path.string(), error)->Values, FindUserFilterPreset("lowpass2")->Values);
  bytes[2] = 4;  // a wrong header loads as all zeros
  Put(path, bytes);
  auto file = ReadUserFilterFile(path.string(), error);
  ASSERT_TRUE(file);
  EXPECT_FALSE(file->HeaderOk);
  EXPECT_EQ(file->Values, TUserFilterValues{});
  bytes.resize(42);
  Put(path, bytes);
  EXPECT_FALSE(ReadUserFilterFile(path.string(), error));
  EXPECT_NE(error.find("42 bytes"), std::string::npos) << error;
  EXPECT_FALSE(ReadUserFilterFile((dir.Path() / "missing.flt").string(), error));
  EXPECT_FALSE(WriteUserFilterFile((dir.Path() / "no" / "f.flt").string(), {}, error));
}

}  // namespace
}  // namespace quillet
