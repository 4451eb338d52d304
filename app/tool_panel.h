// TToolPanel: the tool panel docked at the frame's left: the paint and fill
// colour swatches and the eleven tool buttons in one group in which all may
// be up.
#pragma once

#include <QButtonGroup>
#include <QToolBar>
#include <QToolButton>

#include "app/color_swatch.h"

namespace quillet {

class TToolPanel : public QToolBar {
  Q_OBJECT

 public:
  explicit TToolPanel(QWidget* parent = nullptr);

  // Releases the nine paint tools; Video and Animation keep their state.
  void ReleasePaintTools();

  TColorSwatch *BasicColor, *AddColor;
  QButtonGroup* ToolGroup;
  QToolButton *SpeedButton33, *SpeedButton32, *SpeedButton5, *SpeedButton1, *SpeedButton3, *SpeedButton2,
      *SpeedButton7, *SpeedButton9, *SpeedButton4, *SpeedButton8, *SpeedButton6;

 private:
  QToolButton* ToolButton(const char* name, const char* hint, const char* icon);
};

}  // namespace quillet
