// The fixed file type codes that every part of the system stores and compares.
#pragma once

#include <cstdint>

namespace quillet {

enum TFileType : int32_t {
  ftNone = 0,
  ftTIFF = 1,
  ftGIF = 2,
  ftJPEG = 3,
  ftPCX = 4,
  ftBMP = 5,
  ftICO = 6,
  ftCUR = 7,
  ftPNG = 8,
  ftWMF = 9,
  ftEMF = 10,
  ftTGA = 11,
  ftPXM = 12,
};

}  // namespace quillet
