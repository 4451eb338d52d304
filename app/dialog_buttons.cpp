#include "app/dialog_buttons.h"

namespace quillet {

TDialogButtons MakeDialogButtons(QDialog* dialog) {
  TDialogButtons b;
  b.OK = new QPushButton("OK", dialog);
  b.OK->setObjectName("OKButton");
  b.OK->setDefault(true);
  b.Cancel = new QPushButton("Cancel", dialog);
  b.Cancel->setObjectName("CancelButton");
  b.Cancel->setAutoDefault(false);
  QObject::connect(b.OK, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(b.Cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  b.Row = new QHBoxLayout;
  b.Row->addStretch(1);
  b.Row->addWidget(b.OK);
  b.Row->addWidget(b.Cancel);
  return b;
}

}  // namespace quillet
