// TResizeForm: the size dialog of Paper Size and Image Size, asking for a
// width and a height, with "keep proportions" scaling one from the other.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QSpinBox>

#include "app/editor_state.h"

namespace quillet {

class TResizeForm : public QDialog {
  Q_OBJECT

 public:
  explicit TResizeForm(TEditorState& state, QWidget* parent = nullptr);

  QSpinBox* SpinEdit1;  // width
  QSpinBox* SpinEdit2;  // height
  QCheckBox* CheckBox1;
  QPushButton* OKButton;
  QPushButton* CancelButton;

  // Captioned `caption`, the fields showing width x height, which become the
  // size the proportions keep to.
  void Prepare(const QString& caption, int32_t width, int32_t height);
  // With the box ticked, the other field follows the one the user changed.
  void SpinEdit1Change();
  void SpinEdit2Change();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Follow(QSpinBox* changed, QSpinBox* other, int32_t base, int32_t otherBase);

  TEditorState& state_;
  bool following_ = false;  // a field is being set from the other one
};

}  // namespace quillet
