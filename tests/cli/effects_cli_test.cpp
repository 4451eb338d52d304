// quillet-cli apply with the effect steps: each step's arguments reach the
// engine in order, the steps without values start as the preview dialog
// does, a user filter may be a preset or a filter file, values outside the
// dialog's ranges are usage errors naming the range, and a filter file that
// cannot be read or a Fourier plane too large fails saying why.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_harness.h"
#include "imaging/proc/ziridev_proc.h"

namespace quillet::test {
namespace {

TIEWorkingBitmap Picture(int w = 37, int h = 23) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(x * 7 ^ y * 3), p[1] = uint8_t((x / 4 + y / 3) % 2 * 200), p[2] = uint8_t(x * y);
    }
  return b;
}

bool Same(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int64_t y = 0; y < a.Height(); ++y)
    for (int64_t x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

TEST(CliEffects, StepsRunTheEffectsWithTheirArgumentsInOrder) {
  TempDir dir;
  const TIEWorkingBitmap picture = Picture();
  const std::string in = WriteBmp(dir, "in.bmp", picture), out = dir.File("out.bmp");
  const std::string emboss = dir.File("my,emboss.flt"), wrongHeader = dir.File("wrong.flt");
  ASSERT_EQ(Cli(dir, "filter-file " + emboss + " --preset emboss").status, 0);
  std::ofstream(wrongHeader, std::ios::binary) << "\1\3\4" << std::string(40, '\1');
  const auto embossed = [](TZiridEvProc& p) { p.ApplyUserFilter({-1, 0, 1, -1, 1, 1, -1, 0, 1}, 1); };
  const std::vector<std::pair<std::string, std::function<void(TZiridEvProc&)>>> cases = {
      {"userfilter:1,-2,3,-4,5,-6,7,-8,9,-3", [](TZiridEvProc& p) { p.ApplyUserFilter({1, -2, 3, -4, 5, -6, 7, -8, 9}, -3); }},
      {"userfilter:emboss", embossed},
      {"userfilter:lowpass2", [](TZiridEvProc& p) { p.ApplyUserFilter({1, 2, 1, 2, 4, 2, 1, 2, 1}, 16); }},
      {"userfilter:@" + emboss, embossed},
      {"userfilter:@" + wrongHeader, [](TZiridEvProc& p) { p.ApplyUserFilter({}, 0); }},
      {"bumpmap:5,20,30,9,255,128,0,15", [](TZiridEvProc& p) { p.ApplyBumpMap(5, 20, 30, 9, MakeBGR(255, 128, 0), 15); }},
      {"bumpmap", [](TZiridEvProc& p) { p.ApplyBumpMap(18, 11, 11, 11, kWhite, 0); }},
      {"lens:20,10,30,16,2.5", [](TZiridEvProc& p) { p.ApplyLens(20, 10, 30, 16, 2.5); }},
      {"lens", [](TZiridEvProc& p) { p.ApplyLens(18, 11, 11, 11, 1.7); }},
      {"wave:4,6,90,1", [](TZiridEvProc& p) { p.ApplyWave(4, 6, 90, true); }},
      {"wave", [](TZiridEvProc& p) { p.ApplyWave(10, 10, 0, false); }},
      {"morph:close,3", [](TZiridEvProc& p) { p.ApplyMorph(3, 3); }},
      {"morph:min,1", [](TZiridEvProc& p) { p.ApplyMorph(1, 1); }},
      {"fft-clear:0,0,63,10,40,20,50,31,gray", [](TZiridEvProc& p) { p.FftClear({{0, 0, 63, 10}, {40, 20, 50, 31}}, true); }},
      {"spectrum", [](TZiridEvProc& p) { p.FftSpectrum(false); }},
  };
  for (const auto& [step, run] : cases) {
    const CliResult r = Cli(dir, "apply " + in + " " + out + " " + step);
    ASSERT_EQ(r.status, 0) << step << ": " << r.err;
    TIEWorkingBitmap want = picture;
    TZiridEvProc proc;
    proc.AutoUndo = false;
    proc.SetAttachedBitmap(&want);
    run(proc);
    EXPECT_FALSE(Same(want, picture)) << step;
    EXPECT_TRUE(Same(ReadImage(out), want)) << step;
  }
}

TEST(CliEffects, ValuesOutsideTheDialogsRangesAreUsageErrors) {
  TempDir dir;
  const std::string in = WriteBmp(dir, "in.bmp", Picture()), out = dir.File("never.bmp");
  const std::pair<const char*, const char*> cases[] = {
      {"userfilter:1,2,3,4,5,6,7,8,9", "takes 10 values"},
      {"userfilter:1,2,3,4,5,6,7,8,9,2147483648", "DIV must be a whole number from -2147483648 to 2147483647"},
      {"userfilter:sharpen", "a preset of none, blur, edges, emboss, highpass1, highpass2, highpass3, lowpass1, lowpass2"},
      {"userfilter:@", "@FILE.flt or a preset"},
      {"bumpmap:1,2,3,4,5,6,7", "takes 8 values"},
      {"bumpmap:1,2,3,4,256,0,0,0", "R must be a whole number from 0 to 255"},
      {"bumpmap:1,2,3,4,0,0,0,101", "Q must be a whole number from 0 to 100"},
      {"bumpmap:-1,2,3,4,0,0,0,0", "X must be a whole number from 0 to 32767"},
      {"lens:1,2,3,32768,2", "H must be a whole number from 0 to 32767"},
      {"lens:1,2,3,4,0.9", "N must be a number from 1.0 to 3277.7"},
      {"lens:1,2,3,4,3277.8", "N must be a number from 1.0 to 3277.7"},
      {"lens:1,2,3,4", "takes 5 values"},
      {"wave:1,1,360,0", "P must be a whole number from 0 to 359"},
      {"wave:1,1,0,2", "R must be a whole number from 0 to 1"},
      {"morph:max,0", "K must be a whole number from 1 to 64"},
      {"morph:max,65", "K must be a whole number from 1 to 64"},
      {"morph:dilate,2", "max, min, open or close"},
      {"morph", "max, min, open or close"},
      {"fft-clear", "rectangles"},
      {"fft-clear:1,2,3,4,5", "rectangles"},
      {"fft-clear:1,2,x,4", "X2 must be"},
      {"spectrum:grey", "gray or nothing"},
  };
  for (const auto& [step, message] : cases) {
    const CliResult r = Cli(dir, "apply " + in + " " + out + " " + step);
    EXPECT_EQ(r.status, 2) << step;
    EXPECT_NE(r.err.find(message), std::string::npos) << step << ": " << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(CliEffects, AUserFilterFileThatCannotBeReadFailsTheRun) {
  TempDir dir;
  const std::string in = WriteBmp(dir, "in.bmp", Picture()), out = dir.File("never.bmp");
  std::ofstream(dir.File("short.flt"), std::ios::binary) << "\1\3\3" << std::string(39, '\0');
  const std::pair<std::string, const char*> cases[] = {{"missing.flt", "cannot open"}, {"short.flt", "42 bytes, 43 needed"}};
  for (const auto& [file, message] : cases) {
    const CliResult r = Cli(dir, "apply " + in + " " + out + " userfilter:@" + dir.File(file));
    EXPECT_EQ(r.status, 1) << file;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(CliEffects, TooLargeAFourierPlaneFailsSayingWhy) {
  TempDir dir;
  const std::string in = WriteBmp(dir, "wide.bmp", Picture(4097, 2)), out = dir.File("never.bmp");
  for (const char* step : {"spectrum", "fft-clear:0,0,1,1"}) {
    const CliResult r = Cli(dir, "apply " + in + " " + out + " " + step);
    EXPECT_EQ(r.status, 1) << step;
    EXPECT_NE(r.err.find("over 4096 x 4096"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace quillet::test
