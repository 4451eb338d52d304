#include "app/new_image_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillet {

namespace {

QSpinBox* SizeBox(QWidget* parent, const char* name, const char* editName) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(0, 10000);
  box->setValue(100);
  box->findChild<QLineEdit*>()->setObjectName(editName);
  return box;
}

}  // namespace

TNew::TNew(TEditorState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName("New");
  setWindowTitle("New Image");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  GroupBox1 = new QGroupBox("Properties", this);
  GroupBox1->setObjectName("GroupBox1");
  UpDown1 = SizeBox(GroupBox1, "UpDown1", "Edit1");
  UpDown2 = SizeBox(GroupBox1, "UpDown2", "Edit2");
  ComboBox2 = new QComboBox(GroupBox1);
  ComboBox2->setObjectName("ComboBox2");
  ComboBox2->addItems({"Color (24 bit)", "Black and White (1 bit)"});
  auto* grid = new QGridLayout(GroupBox1);
  grid->addWidget(new QLabel("Width", GroupBox1), 0, 0);
  grid->addWidget(UpDown1, 0, 1);
  grid->addWidget(new QLabel("pixels", GroupBox1), 0, 2);
  grid->addWidget(new QLabel("Height", GroupBox1), 1, 0);
  grid->addWidget(UpDown2, 1, 1);
  grid->addWidget(new QLabel("pixels", GroupBox1), 1, 2);
  grid->addWidget(new QLabel("Image type", GroupBox1), 2, 0, 1, 3);
  grid->addWidget(ComboBox2, 3, 0, 1, 3);

  Button1 = new QPushButton("OK", this);
  Button1->setObjectName("Button1");
  Button1->setDefault(true);
  Button2 = new QPushButton("Cancel", this);
  Button2->setObjectName("Button2");
  connect(Button1, &QPushButton::clicked, this, [this] {
    Button1Click();
    accept();
  });
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(GroupBox1);
  layout->addLayout(buttons);
  resize(201, 261);
}

void TNew::Button1Click() {
  state_.NewImageWidth = UpDown1->value();
  state_.NewImageHeight = UpDown2->value();
  state_.NewImageFormat =
      ComboBox2->currentText() == "Black and White (1 bit)" ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit;
}

}  // namespace quillet
