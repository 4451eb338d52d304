#include "imaging/proc/ui/param_spin.h"

#include <QRegularExpression>
#include <algorithm>

namespace quillet {

TParamSpin::TParamSpin(int minimum, int maximum, int step, QWidget* parent) : QSpinBox(parent) {
  setRange(minimum, maximum);
  setSingleStep(step);
  setAccelerated(true);
}

QValidator::State TParamSpin::validate(QString& input, int&) const {
  static const QRegularExpression integer(QStringLiteral("^\\s*[-+]?\\d*\\s*$"));
  if (!integer.match(input).hasMatch()) return QValidator::Invalid;
  bool ok = false;
  const qlonglong v = input.trimmed().toLongLong(&ok);
  return ok && v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void TParamSpin::fixup(QString& input) const {
  bool ok = false;
  const qlonglong v = input.trimmed().toLongLong(&ok);
  const qlonglong value = ok ? std::clamp<qlonglong>(v, minimum(), maximum())
                             : std::clamp(emptyValue_, minimum(), maximum());
  input = QString::number(value);
}

}  // namespace quillet
