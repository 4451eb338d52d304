// TZiridEv: an image view that owns its I/O component, attached to itself,
// so that loading a file shows it.
#pragma once

#include "imaging/io/ziridev_io.h"
#include "imaging/view/qt/ziridev_view.h"

namespace quillet {

class TZiridEv : public TZiridEvView {
  Q_OBJECT

 public:
  explicit TZiridEv(QWidget* parent = nullptr);

  TZiridEvIO& IO() { return io_; }
  void LoadFromFile(const std::string& fileName) { io_.LoadFromFile(fileName); }
  void SaveToFile(const std::string& fileName) { io_.SaveToFile(fileName); }

 private:
  TZiridEvIO io_;
};

}  // namespace quillet
