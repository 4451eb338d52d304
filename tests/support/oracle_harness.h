// Table-driven checks against independent programs: each case makes a file
// with ImageMagick or Pillow, and our decoding of it must match Pillow's.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "support/test_support.h"

namespace quillet::test {

// What one of our readers made of a file's bytes.
struct TOurImage {
  bool ok = false;
  std::string error;
  TIEWorkingBitmap bitmap;
  TIEMask alpha = {};  // empty when the reader gave none
};
using TOurDecode = std::function<TOurImage(const std::vector<uint8_t>& bytes)>;

// How Pillow's decoding is taken and compared. `prelude` is Python run on the
// opened image `im` before it is converted. With `alpha`, alpha planes must be
// equal and colours count where Pillow's alpha is not 0, or, given
// `transparentShows`, pixels of alpha 0 must show that colour.
struct TPillowView {
  bool alpha = false;
  std::string prelude = {};
  std::optional<TBGR> transparentShows = {};
};

// Our decoding of `file` beside Pillow's, every channel within `tolerance`.
inline void ExpectLikePillow(const TempDir& dir, const std::string& file, const TOurDecode& ours, int tolerance = 0,
                             const TPillowView& view = {}) {
  RawImage want;
  const std::string pam = dir.File("want.pam");
  ASSERT_TRUE(PillowDecode(file, pam, view.alpha, view.prelude) && ReadPam(pam, want)) << file;
  const TOurImage got = ours(ReadFileBytes(file));
  ASSERT_TRUE(got.ok) << file << ": " << got.error;
  ASSERT_EQ(got.bitmap.Width(), want.width) << file;
  ASSERT_EQ(got.bitmap.Height(), want.height) << file;
  if (view.alpha) {
    ASSERT_EQ(got.alpha.Width(), want.width) << file << ": no alpha plane";
  }
  for (int y = 0; y < want.height; ++y)
    for (int x = 0; x < want.width; ++x) {
      const uint8_t* w = want.At(x, y);
      const bool transparent = view.alpha && w[3] == 0;
      if (view.alpha) {
        ASSERT_EQ(got.alpha.GetPixel(x, y), w[3]) << file << " alpha at " << x << "," << y;
      }
      if (transparent && !view.transparentShows) continue;
      const TBGR c = got.bitmap.Pixel(x, y), shown = transparent ? *view.transparentShows : MakeBGR(w[0], w[1], w[2]);
      const int diff = std::max({std::abs(c.r - shown.r), std::abs(c.g - shown.g), std::abs(c.b - shown.b)});
      ASSERT_LE(diff, tolerance) << file << " at " << x << "," << y;
    }
}

enum class TMaker { omMagick, omPillow, omShell };

// One file made from a source picture by another program.
struct TOracleCase {
  std::string name;
  TMaker maker;
  // ImageMagick: the options, then the output prefix ("-type Palette BMP3:").
  // Pillow: the image to save, an expression of the source `im`.
  // Shell: a command line whose {in} and {out} name the files ("tiffcp -c lzw {in} {out}").
  std::string how;
  std::string saveOptions = {};  // Pillow: keyword arguments of save ("quality=90")
  int tolerance = 0;
};

// Makes the case's file from `source` in `dir`; empty when the program could not.
inline std::string MakeOracleFile(const TempDir& dir, const std::string& source, const TOracleCase& c,
                                  const std::string& ext) {
  const std::string out = dir.File(c.name + ext);
  if (c.maker == TMaker::omPillow) {
    const std::string options = c.saveOptions.empty() ? "" : ", " + c.saveOptions;
    return RunPython("from PIL import Image\n"
                     "im = Image.open(r'''" + source + "''')\n"
                     "(" + c.how + ").save(r'''" + out + "'''" + options + ")\n") == 0
               ? out
               : "";
  }
  if (c.maker == TMaker::omShell) {
    std::string command = c.how;
    for (size_t at; (at = command.find("{in}")) != std::string::npos;) command.replace(at, 4, source);
    for (size_t at; (at = command.find("{out}")) != std::string::npos;) command.replace(at, 5, out);
    return Run(command + " 2>/dev/null") == 0 ? out : "";
  }
  const size_t space = c.how.rfind(' ');
  const std::string options = space == std::string::npos ? "" : c.how.substr(0, space);
  const std::string prefix = space == std::string::npos ? c.how : c.how.substr(space + 1);
  return Run("/usr/bin/convert " + source + " " + options + " " + prefix + out + " 2>/dev/null") == 0 ? out : "";
}

// Makes and checks every case; returns how many files the programs made.
inline int CheckOracleCases(const TempDir& dir, const std::string& source, const std::string& ext,
                            const std::vector<TOracleCase>& cases, const TOurDecode& ours,
                            const TPillowView& view = {}) {
  int made = 0;
  for (const TOracleCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = MakeOracleFile(dir, source, c, ext);
    if (file.empty()) continue;
    ++made;
    ExpectLikePillow(dir, file, ours, c.tolerance, view);
  }
  return made;
}

}  // namespace quillet::test
