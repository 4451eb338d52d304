// The OK and Cancel buttons of the editor's modal dialogs: a row at the
// right, OK the default (Enter), Cancel also Esc.
#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace quillet {

struct TDialogButtons {
  QPushButton* OK;
  QPushButton* Cancel;
  QHBoxLayout* Row;  // stretch first, so that a button added at index 0 stands at the left
};

// Named OKButton and CancelButton, accepting and rejecting `dialog`.
TDialogButtons MakeDialogButtons(QDialog* dialog);

}  // namespace quillet
