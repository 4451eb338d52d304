#include "app/text_form.h"

#include <QKeyEvent>

namespace quillet {

namespace {

// Neither button answers Enter by itself: the window decides what Enter does.
QPushButton* Button(QWidget* parent, const char* name, const char* caption, int x) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  b->setDefault(false);
  b->setGeometry(x, 40, 75, 25);
  return b;
}

}  // namespace

TTextForm::TTextForm(TPaintToolState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName("TextForm");
  setWindowTitle("Text");
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
  setFixedSize(357, 69);
  move(314, 169);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setGeometry(5, 10, 346, Edit1->sizeHint().height());
  Button1 = Button(this, "Button1", "OK", 195);
  Button2 = Button(this, "Button2", "Cancel", 275);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TTextForm::Open() {
  Edit1->clear();
  show();
  raise();
  activateWindow();
  Edit1->setFocus();
}

void TTextForm::Button1Click() {
  state_.TextToPlace = Edit1->text().toStdString();
  state_.TextReady = true;
  hide();
}

void TTextForm::Button2Click() {
  state_.TextCancelled = true;
  hide();
}

void TTextForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return Button1Click();
  QDialog::keyPressEvent(event);
}

void TTextForm::reject() { Button2Click(); }

}  // namespace quillet
