// TTextForm: the Text tool's small stay-on-top window, where the line to
// write is typed. It only hands the text over; the document's text timer draws it.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "imaging/view/paint_tools.h"

namespace quillet {

class TTextForm : public QDialog {
  Q_OBJECT

 public:
  explicit TTextForm(TPaintToolState& state, QWidget* parent = nullptr);

  // A Text press: the window shows with an empty field.
  void Open();

  QLineEdit* Edit1;
  QPushButton *Button1, *Button2;

  // OK: the text is ready to place. Cancel: nothing will be placed.
  void Button1Click();
  void Button2Click();

 protected:
  // Enter is OK; Escape and the window manager's close run Cancel.
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

 private:
  TPaintToolState& state_;
};

}  // namespace quillet
