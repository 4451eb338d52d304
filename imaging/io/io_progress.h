// The progress record handed to every codec: the event, its sender, a work
// counter with its factor, and the owner's Aborting flag.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "imaging/core/failure_guard.h"

namespace quillet {

class TZiridEvIO;

// Progress events receive the sender and a percentage; a handler stops the
// work by setting the sender's Aborting flag.
using TIEProgressEvent = std::function<void(TZiridEvIO* sender, int per)>;

struct TIOProgress {
  TIEProgressEvent OnProgress;
  TZiridEvIO* Sender = nullptr;
  int32_t Done = 0;
  double Factor = 0;
  bool* Aborting = nullptr;
  // Where a codec leaves the reason of a failure (the owner's LastError).
  std::string* Error = nullptr;

  bool Aborted() const { return Aborting && *Aborting; }
  void Abort() const {
    if (Aborting) *Aborting = true;
  }
  // Aborts and keeps the first reason given.
  void Fail(const std::string& why) const {
    Abort();
    if (Error && Error->empty()) *Error = why;
  }
  // Runs a codec's work so that nothing it throws leaves the codec: the
  // failure aborts with its reason.
  template <class F>
  void Guard(F&& work) const {
    if (const std::optional<std::string> why = FailureOf(work)) Fail(*why);
  }
  // Reports per when an event is assigned.
  void Report(int per) const {
    if (OnProgress) OnProgress(Sender, per);
  }
};

}  // namespace quillet
