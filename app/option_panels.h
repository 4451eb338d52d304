// The option panels under the tool bars, one class each, shown by the refresh
// while their tool is down: Draw (shape, pen width, fill type), Art Draw
// (pattern), Brush (the nineteen shapes) and Text (sample, font, size, style).
#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>
#include <optional>

#include "imaging/core/canvas_state.h"

namespace quillet {

// A panel 25 pixels high (or as given), hidden at start.
class TOptionPanel : public QWidget {
  Q_OBJECT

 public:
  TOptionPanel(const char* name, int height, QWidget* parent = nullptr);
};

class TDrawPanel : public TOptionPanel {
  Q_OBJECT

 public:
  explicit TDrawPanel(QWidget* parent = nullptr);
  QLabel *Image2, *Image4;
  QComboBox *ComboBox2, *ComboBox4;
  QSpinBox* UpDown1;  // its edit field is Edit2
};

class TArtDrawPanel : public TOptionPanel {
  Q_OBJECT

 public:
  explicit TArtDrawPanel(QWidget* parent = nullptr);
  QComboBox* ComboBox3;
};

class TBrushPanel : public TOptionPanel {
  Q_OBJECT

 public:
  explicit TBrushPanel(QWidget* parent = nullptr);
  // Exactly one of SpeedButton31, SpeedButton13 ... SpeedButton30 is down;
  // its id is its place from the left, the brush shape.
  QButtonGroup* BrushGroup;
};

class TTextPanel : public TOptionPanel {
  Q_OBJECT

 public:
  explicit TTextPanel(QWidget* parent = nullptr);
  // The engine's font families, each shown in its own face, the first one
  // chosen and shown in the sample.
  void FillFonts();
  // The points of the size list's entry whose text the list shows; none for
  // a size typed in.
  std::optional<int> FontSize() const;
  // The sample's face, the size and the three styles; size 0 for a size
  // typed in, which leaves the canvas font's size as it is.
  TIEFontDesc TextFont() const;
  QLineEdit* Edit5;
  QComboBox *ComboBox6, *ComboBox7;
  QToolButton *SpeedButton10, *SpeedButton11, *SpeedButton12;  // bold, italic, underline
};

}  // namespace quillet
