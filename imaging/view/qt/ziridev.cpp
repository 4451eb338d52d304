#include "imaging/view/qt/ziridev.h"

namespace quillet {

TZiridEv::TZiridEv(QWidget* parent) : TZiridEvView(parent) {
  io_.SetAttachedZiridEv(this);
  proc_.SetAttachedZiridEv(this);
}

}  // namespace quillet
