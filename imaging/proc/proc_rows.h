// The row runner of the processing operations: it shares an operation's rows
// between the cores, counts them towards one percentage over all its passes
// and stops every core at its next row once the watch's flag is set.
#pragma once

#include <atomic>
#include <cstdint>

#include "imaging/proc/proc_progress.h"
#include "imaging/proc/resample_threads.h"

namespace quillet {

class TIEProcRows {
 public:
  // Each finished row counts one step: per = trunc(steps done * 100 / denominator).
  TIEProcRows(const TIEProcWatch& control, double denominator)
      : control_(control), progress_(control.OnProgress, denominator) {}

  // part(first, last, next) computes rows [first, last) of [0, count) in
  // order, calling next() after each row and stopping when it returns false;
  // parts run on several cores when the work (`workPerRow` bytes a row)
  // is worth it. The flag is read on the calling thread only. False when
  // the effect was cancelled, now or in an earlier run.
  template <class Part>
  bool Run(int64_t count, int64_t workPerRow, Part part) {
    if (aborted_) return false;
    std::atomic<bool> stop{control_.Aborted()};
    const int64_t before = done_;
    const auto progress = [&](int64_t finished) {
      progress_.Report(before + finished);
      if (control_.Aborted()) stop.store(true, std::memory_order_relaxed);
    };
    SplitItems(count, workPerRow, progress, [&](int64_t first, int64_t last, auto&& done) {
      const auto next = [&] {
        done(1);
        return !stop.load(std::memory_order_relaxed);
      };
      if (!stop.load(std::memory_order_relaxed)) part(first, last, next);
    });
    done_ = before + count;
    aborted_ = stop.load() || control_.Aborted();
    return !aborted_;
  }

 private:
  const TIEProcWatch& control_;
  TIEStepProgress progress_;
  int64_t done_ = 0;
  bool aborted_ = false;
};

}  // namespace quillet
