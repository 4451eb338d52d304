#include "app/tool_panel.h"

#include "app/tool_icons.h"

namespace quillet {

TToolPanel::TToolPanel(QWidget* parent) : QToolBar("Tools", parent) {
  setObjectName("ToolPanel");
  setMovable(false);
  setOrientation(Qt::Vertical);
  setFixedWidth(28);
  setIconSize(QSize(22, 22));
  BasicColor = new TColorSwatch("BasicColor", Qt::black, "Paint Color - Double Click to Edit");
  AddColor = new TColorSwatch("AddColor", Qt::white, "Current Fill - Double Click to Edit");
  addWidget(BasicColor);
  addWidget(AddColor);
  SpeedButton33 = ToolButton("SpeedButton33", "Animation", "tool-animator");
  SpeedButton32 = ToolButton("SpeedButton32", "Video", "video-x-generic");
  SpeedButton5 = ToolButton("SpeedButton5", "Select", "select-rectangular");
  SpeedButton1 = ToolButton("SpeedButton1", "Draw", "shapes");
  SpeedButton3 = ToolButton("SpeedButton3", "Art Draw", ":/icons/art-draw.svg");
  SpeedButton2 = ToolButton("SpeedButton2", "Brush", "draw-brush");
  SpeedButton7 = ToolButton("SpeedButton7", "Spray", ":/icons/spray.svg");
  SpeedButton9 = ToolButton("SpeedButton9", "Text", "draw-text");
  SpeedButton4 = ToolButton("SpeedButton4", "Fill", "color-fill");
  SpeedButton8 = ToolButton("SpeedButton8", "Eye Dropper", "color-picker");
  SpeedButton6 = ToolButton("SpeedButton6", "Eraser", "draw-eraser");
  // One group in which every button may be up: pressing one releases the others.
  ToolGroup = new QButtonGroup(this);
  ToolGroup->setExclusive(false);
  for (QToolButton* b : {SpeedButton33, SpeedButton32, SpeedButton5, SpeedButton1, SpeedButton3, SpeedButton2,
                         SpeedButton7, SpeedButton9, SpeedButton4, SpeedButton8, SpeedButton6}) {
    ToolGroup->addButton(b);
    addWidget(b);
    // Video and Animation arrive with their own windows.
    b->setEnabled(b != SpeedButton33 && b != SpeedButton32);
  }
  connect(ToolGroup, &QButtonGroup::buttonToggled, this, [this](QAbstractButton* b, bool down) {
    if (!down) return;
    for (QAbstractButton* other : ToolGroup->buttons())
      if (other != b) other->setChecked(false);
  });
}

QToolButton* TToolPanel::ToolButton(const char* name, const char* hint, const char* icon) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setIcon(ToolIcon(icon));
  button->setIconSize(iconSize());
  button->setToolTip(hint);
  button->setStatusTip(hint);
  button->setCheckable(true);
  button->setAutoRaise(true);
  button->setFixedSize(26, 26);
  return button;
}

void TToolPanel::ReleasePaintTools() {
  for (QToolButton* b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6,
                         SpeedButton7, SpeedButton8, SpeedButton9})
    b->setChecked(false);
}

}  // namespace quillet
