// Rotation of 24-bit rows by at most 45 degrees as three shears (across,
// down, across), with optional blending of neighbours in 1/4096 units.
#pragma once

#include <cstdint>

#include "imaging/core/colors.h"
#include "imaging/proc/proc_progress.h"
#include "imaging/proc/rotate_plane.h"

namespace quillet {

// Sizes of the three shears of a W x H image: W1 x H after the first, W1 x H3
// after the second, W3 x H3 at the end; o1 and o2 re-centre the later passes.
struct TShearGeometry {
  double Radians, T, S;  // T = |tan(r / 2)|, S = |sin r|
  int64_t W, H, W1, O1, H2, O2, H3, W3;
};

TShearGeometry ShearGeometry(int64_t width, int64_t height, double degrees);

// Every pass as the rotation runs it, with the progress of all three passes.
class TShearRotation {
 public:
  TShearRotation(const TShearGeometry& g, bool antialias, TBGR background, const TIEProcProgress& progress);

  // Pass 1: source (W x H) into B1 (W1 x H).
  void Across(const TRotateRows& source, const TRotateRows& b1);
  // Pass 2, B1 down into B2 (W1 x H3), and pass 3, B2 across into the result
  // (W3 x H3), a strip of B2 at a time.
  void DownAndAcross(const TRotateRows& b1, const TRotateRows& result);

 private:
  const TShearGeometry g_;
  const bool antialias_;
  const uint8_t background_[3];
  TIEStepProgress steps_;
};

}  // namespace quillet
