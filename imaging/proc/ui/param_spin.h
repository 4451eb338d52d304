// TParamSpin: the edit of a numeric parameter. It takes any integer typed
// into it and limits it to its range when editing ends; text that is no
// number reads as the value given for it (0, or 1 for a size).
#pragma once

#include <QSpinBox>

namespace quillet {

class TParamSpin : public QSpinBox {
  Q_OBJECT

 public:
  TParamSpin(int minimum, int maximum, int step, QWidget* parent = nullptr);
  void SetEmptyValue(int value) { emptyValue_ = value; }

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 private:
  int emptyValue_ = 0;
};

}  // namespace quillet
