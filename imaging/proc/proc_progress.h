// TIEProcProgress: how the processing operations report their progress, and
// the helper that turns a count of finished steps into a clamped percentage.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

#include "imaging/core/math.h"

namespace quillet {

// Called with a percentage in 0..100; may be empty.
using TIEProcProgress = std::function<void(int percent)>;

// Where an operation reports its progress and the flag it polls before each
// row; both may be empty. The flag is set from the progress handler, which
// runs on the calling thread.
struct TIEProcWatch {
  TIEProcProgress OnProgress;
  const bool* Aborting = nullptr;

  bool Aborted() const { return Aborting && *Aborting; }
};

// Reports trunc(done * 100 / denominator), clamped to 0..100, each time the
// value changes. Most operations divide by their step count + 0.5.
class TIEStepProgress {
 public:
  TIEStepProgress(const TIEProcProgress& progress, double denominator)
      : progress_(progress), denominator_(denominator) {}

  void Report(int64_t done) {
    if (!progress_) return;
    const int per = int(std::clamp<int64_t>(Trunc(double(done) * 100 / denominator_), 0, 100));
    if (per == last_) return;
    last_ = per;
    progress_(per);
  }

 private:
  TIEProcProgress progress_;
  double denominator_;
  int last_ = -1;
};

}  // namespace quillet
