// Computations written apart in NumPy: named arrays go in, a script runs on
// them, and the arrays it saves come back as bytes or images.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/core/working_bitmap.h"
#include "support/test_support.h"

namespace quillet::test {

class TNumPyOracle {
 public:
  // `name` = the bytes as an array of `dtype` ("uint8", "int32") and `shape` ("(4, 3)").
  void Input(const std::string& name, const std::vector<uint8_t>& bytes, const std::string& dtype,
             const std::string& shape) {
    const std::string file = dir_.File(name + ".in");
    WriteFileBytes(file, bytes);
    inputs_ << name << " = np.fromfile(r'''" << file << "''', np." << dtype << ").reshape" << shape << "\n";
  }

  // `name` = the H x W x 3 array (red, green, blue) of a 24-bit image, as int64.
  void Image(const std::string& name, const TIEWorkingBitmap& image) {
    std::vector<uint8_t> bytes;
    for (int64_t y = 0; y < image.Height(); ++y)
      for (int64_t x = 0; x < image.Width(); ++x) {
        const TBGR c = image.Pixel(x, y);
        bytes.insert(bytes.end(), {c.r, c.g, c.b});
      }
    Input(name, bytes, "uint8", "(" + std::to_string(image.Height()) + ", " + std::to_string(image.Width()) + ", 3)");
    inputs_ << name << " = " << name << ".astype(np.int64)\n";
  }

  // Runs `script` after the inputs; it calls save(name, array) for each result.
  bool Run(const std::string& script) {
    return RunPython(
               "import numpy as np\n"
               "def save(name, a, dtype=np.uint8):\n"
               "    np.ascontiguousarray(a).astype(dtype).tofile(r'''" +
               dir_.Path().string() + "''' + '/' + name + '.out')\n" + inputs_.str() + script) == 0;
  }

  std::vector<uint8_t> Output(const std::string& name) const { return ReadFileBytes(dir_.File(name + ".out")); }

  // A saved H x W x 3 array of bytes (red, green, blue) as a 24-bit image; empty when the size is wrong.
  TIEWorkingBitmap OutputImage(const std::string& name, int64_t width, int64_t height) const {
    const std::vector<uint8_t> bytes = Output(name);
    TIEWorkingBitmap image;
    if (int64_t(bytes.size()) != 3 * width * height) return image;
    image.Resize(width, height, TIEPixelFormat::pf24bit);
    for (int64_t y = 0; y < height; ++y)
      for (int64_t x = 0; x < width; ++x) {
        const uint8_t* c = bytes.data() + 3 * (y * width + x);
        uint8_t* p = image.ScanLine(y) + 3 * x;
        p[0] = c[2], p[1] = c[1], p[2] = c[0];
      }
    return image;
  }

 private:
  TempDir dir_;
  std::ostringstream inputs_;
};

// How far two images of one size are apart: the pixels with any channel
// different, and the largest difference of a channel.
struct TImageDiff {
  int64_t pixels = 0;
  int worst = 0;
};

inline TImageDiff Difference(const TIEWorkingBitmap& a, const TIEWorkingBitmap& b) {
  TImageDiff d;
  for (int64_t y = 0; y < a.Height(); ++y)
    for (int64_t x = 0; x < a.Width(); ++x) {
      const TBGR p = a.Pixel(x, y), q = b.Pixel(x, y);
      const int worst = std::max({std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
      d.pixels += worst > 0;
      d.worst = std::max(d.worst, worst);
    }
  return d;
}

}  // namespace quillet::test
