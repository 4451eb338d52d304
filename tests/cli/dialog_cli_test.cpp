// quillet-cli filter-file and words: JSON out, files written, failed reads and
// usage errors.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_harness.h"

namespace quillet::test {
namespace {

TEST(CliDialog, FilterFilesAreWrittenReadAndRefused) {
  TempDir dir;
  const std::string f = dir.File("f.flt");
  struct Case {
    std::string args;
    int status;
    std::vector<int> coefficients;
    int divisor;
  } const cases[] = {
      {"--preset emboss", 0, {-1, 0, 1, -1, 1, 1, -1, 0, 1}, 1},
      {"", 0, {-1, 0, 1, -1, 1, 1, -1, 0, 1}, 1},
      {"--write -2147483648,2,3,4,5,6,7,8,2147483647,0", 0, {INT32_MIN, 2, 3, 4, 5, 6, 7, 8, INT32_MAX}, 0},
      {"--write 1,2,3", 2, {}, 0},
      {"--write 1,2,3,4,5,6,7,8,9,2147483648", 2, {}, 0},
      {"--preset sharpen", 2, {}, 0},
      {"--preset blur --write 1,1,1,1,1,1,1,1,1,9", 2, {}, 0},
  };
  for (const Case& c : cases) {
    const CliResult r = Cli(dir, "filter-file " + f + " " + c.args);
    ASSERT_EQ(r.status, c.status) << c.args << r.err;
    if (c.status != 0) continue;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["coefficients"].get<std::vector<int>>(), c.coefficients) << c.args;
    EXPECT_EQ(json["divisor"], c.divisor);
    EXPECT_TRUE(json["header_ok"]);
  }
  EXPECT_EQ(Cli(dir, "filter-file " + dir.File("missing.flt")).status, 1);
  std::ofstream(dir.File("short.flt")) << "\1\3\3abc";
  const CliResult shortFile = Cli(dir, "filter-file " + dir.File("short.flt"));
  EXPECT_EQ(shortFile.status, 1);
  EXPECT_NE(shortFile.err.find("43 needed"), std::string::npos) << shortFile.err;
}

TEST(CliDialog, WordsOfALanguage) {
  TempDir dir;
  const auto words = [&](const std::string& args) { return nlohmann::json::parse(Cli(dir, "words " + args).out); };
  EXPECT_EQ(words("").size(), 120u);
  EXPECT_EQ(words("--language italian")[0], "Anteprima");
  EXPECT_EQ(words("--language user")[119], "Close");
  EXPECT_EQ(nlohmann::json::parse(Cli(dir, "words --language system").out).size(), 120u);
  EXPECT_EQ(Cli(dir, "words --language klingon").status, 2);
}

}  // namespace
}  // namespace quillet::test
