// Running quillet-cli from the tests, and writing their input images.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "imaging/io/ziridev_io.h"
#include "support/test_support.h"

namespace quillet::test {

struct CliResult {
  int status;
  std::string out, err;
};

// quillet-cli with `args`, its output kept in files of `dir`.
inline CliResult Cli(const TempDir& dir, const std::string& args) {
  const std::string out = dir.File("stdout.txt"), err = dir.File("stderr.txt");
  CliResult r;
  r.status = Run(std::string(QUILLET_CLI_PATH) + " " + args + " >" + out + " 2>" + err);
  std::ifstream o(out), e(err);
  std::stringstream so, se;
  so << o.rdbuf();
  se << e.rdbuf();
  r.out = so.str();
  r.err = se.str();
  return r;
}

// `bitmap` as a BMP file `name` in `dir`, written by our own writer.
inline std::string WriteBmp(const TempDir& dir, const std::string& name, const TIEWorkingBitmap& bitmap) {
  TIEWorkingBitmap copy = bitmap;
  TZiridEvIO io;
  io.SetAttachedBitmap(&copy);
  const std::string file = dir.File(name);
  io.SaveToFile(file);
  return file;
}

// The image in `file`, read by our own reader; a failed read fails the test.
inline TIEWorkingBitmap ReadImage(const std::string& file) {
  TIEWorkingBitmap b;
  TZiridEvIO io;
  io.SetAttachedBitmap(&b);
  io.LoadFromFile(file);
  EXPECT_FALSE(io.Aborting) << file;
  return b;
}

}  // namespace quillet::test
