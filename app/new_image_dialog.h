// TNew: the New Image dialog, asking for the size and type of a new image.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>

#include "app/editor_state.h"

namespace quillet {

class TNew : public QDialog {
  Q_OBJECT

 public:
  explicit TNew(TEditorState& state, QWidget* parent = nullptr);

  QGroupBox* GroupBox1;
  QSpinBox* UpDown1;  // its edit field is Edit1
  QSpinBox* UpDown2;  // its edit field is Edit2
  QComboBox* ComboBox2;
  QPushButton* Button1;
  QPushButton* Button2;

  // OK: the chosen size and type go to the editor state.
  void Button1Click();

 private:
  TEditorState& state_;
};

}  // namespace quillet
