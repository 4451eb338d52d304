// The effects beside tests/proc/effects_oracle.py, an independent NumPy
// re-implementation of their formulas: every case of a table runs in one
// Python run and each result must match ours within the case's limits.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "imaging/core/working_bitmap.h"
#include "support/test_support.h"

namespace quillet::test {

struct TEffectCase {
  std::string name;
  TIEWorkingBitmap image;
  // "OP ARGS..." as the oracle reads them (the file names and size are added).
  std::string oracle;
  std::function<void(TIEWorkingBitmap&)> ours;
  // The largest difference of a channel, and how many channel bytes may differ at all.
  int tolerance = 0;
  int64_t mostOff = 0;
};

// Pixel rows without their padding.
inline std::vector<uint8_t> PackedPixels(const TIEWorkingBitmap& b) {
  std::vector<uint8_t> out;
  for (int64_t y = 0; y < b.Height(); ++y) out.insert(out.end(), b.ScanLine(y), b.ScanLine(y) + 3 * b.Width());
  return out;
}

inline void ExpectLikeOracle(std::vector<TEffectCase> cases) {
  TempDir dir;
  std::ofstream list(dir.File("cases.txt"));
  for (size_t i = 0; i < cases.size(); ++i) {
    const TEffectCase& c = cases[i];
    const std::string in = dir.File("in" + std::to_string(i)), out = dir.File("out" + std::to_string(i));
    WriteFileBytes(in, PackedPixels(c.image));
    const std::string op = c.oracle.substr(0, c.oracle.find(' '));
    const std::string args = c.oracle.size() > op.size() ? c.oracle.substr(op.size()) : "";
    list << op << " " << in << " " << out << " " << c.image.Width() << " " << c.image.Height() << args << "\n";
  }
  list.close();
  ASSERT_EQ(Run("/usr/bin/python3 " QUILLET_SOURCE_DIR "/tests/proc/effects_oracle.py " + dir.File("cases.txt")), 0);
  for (size_t i = 0; i < cases.size(); ++i) {
    TEffectCase& c = cases[i];
    SCOPED_TRACE(c.name + ": " + c.oracle);
    c.ours(c.image);
    const std::vector<uint8_t> ours = PackedPixels(c.image), theirs = ReadFileBytes(dir.File("out" + std::to_string(i)));
    ASSERT_EQ(ours.size(), theirs.size());
    int64_t off = 0;
    for (size_t k = 0; k < ours.size(); ++k) {
      ASSERT_LE(std::abs(ours[k] - theirs[k]), c.tolerance) << "byte " << k << " of " << ours.size();
      off += ours[k] != theirs[k];
    }
    EXPECT_LE(off, c.mostOff);
  }
}

}  // namespace quillet::test
