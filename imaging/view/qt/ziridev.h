// TZiridEv: an image view that owns its I/O and processing components, both
// attached to itself, so that loading a file shows it and operations work on it.
#pragma once

#include "imaging/io/ziridev_io.h"
#include "imaging/proc/ziridev_proc.h"
#include "imaging/view/qt/ziridev_view.h"

namespace quillet {

class TZiridEv : public TZiridEvView {
  Q_OBJECT

 public:
  explicit TZiridEv(QWidget* parent = nullptr);

  TZiridEvIO& IO() { return io_; }
  TZiridEvProc& Proc() { return proc_; }
  void LoadFromFile(const std::string& fileName) { io_.LoadFromFile(fileName); }
  void SaveToFile(const std::string& fileName) { io_.SaveToFile(fileName); }

 private:
  TZiridEvIO io_;
  TZiridEvProc proc_;
};

}  // namespace quillet
