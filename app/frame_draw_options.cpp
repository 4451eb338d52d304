// The paint tools' controls: which tool is down, the option values the tools
// read, the Draw panel's handlers (the shape list sets the Draw tool's
// figure, the fill type list the picture of its fill; both show their choice
// in a picture from the program's resources) and the text panel's font list.
#include <QPixmap>

#include "app/frame_form.h"

namespace quillet {

namespace {

struct TShapeEntry {
  const char* Text;
  TDrawKind Kind;
  const char* Picture;
};

const TShapeEntry kShapes[] = {{" Line", TDrawKind::dkLine, "LINE"},
                               {" Rectangle", TDrawKind::dkRectangle, "RECT"},
                               {" Ellipse", TDrawKind::dkEllipse, "EL"}};

// By index of the fill type list.
const char* const kFillPictures[] = {"FCLEAR", "FSOLID", "FHORIZ", "FVERT", "FDIAG", "BDIAG", "CROSS", "DCROSS"};

void ShowPicture(QLabel* label, const char* name) { label->setPixmap(QPixmap(QString(":/") + name)); }

TBGR BGROf(const QColor& c) { return MakeBGR(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())); }

}  // namespace

TPaintTool TFrameForm::PaintTool() const {
  const TToolPanel& t = *ToolPanel;
  const std::pair<const QToolButton*, TPaintTool> tools[] = {
      {t.SpeedButton1, TPaintTool::ptDraw},  {t.SpeedButton3, TPaintTool::ptArtDraw},
      {t.SpeedButton2, TPaintTool::ptBrush}, {t.SpeedButton7, TPaintTool::ptSpray},
      {t.SpeedButton6, TPaintTool::ptEraser}, {t.SpeedButton4, TPaintTool::ptFill},
      {t.SpeedButton8, TPaintTool::ptEyeDropper}, {t.SpeedButton9, TPaintTool::ptText}};
  for (const auto& [button, tool] : tools)
    if (button->isChecked()) return tool;
  return TPaintTool::ptSelect;
}

TPaintOptions TFrameForm::PaintOptions() const {
  TPaintOptions options;
  options.PaintColor = BGROf(ToolPanel->BasicColor->Color());
  options.FillColor = BGROf(ToolPanel->AddColor->Color());
  options.PenWidth = DrawPanel->UpDown1->value();
  options.FillType = DrawPanel->ComboBox4->currentIndex();
  options.ArtPattern = ArtDrawPanel->ComboBox3->currentIndex();
  options.BrushShape = BrushPanel->BrushGroup->checkedId();
  options.Font = TextPanel->TextFont();
  return options;
}

// The text is compared exactly: anything typed that is not a shape leaves
// the tool without a figure and the picture as it was.
void TFrameForm::ComboBox2Change() {
  EditorState.DrawKind = TDrawKind::dkNone;
  const QString text = DrawPanel->ComboBox2->currentText();
  for (const TShapeEntry& shape : kShapes)
    if (text == shape.Text) {
      EditorState.DrawKind = shape.Kind;
      ShowPicture(DrawPanel->Image2, shape.Picture);
    }
}

void TFrameForm::ComboBox4Change() {
  const int index = DrawPanel->ComboBox4->currentIndex();
  if (index >= 0 && index < int(std::size(kFillPictures))) ShowPicture(DrawPanel->Image4, kFillPictures[index]);
}

void TFrameForm::ComboBox6Click() {
  QFont sample = TextPanel->Edit5->font();
  sample.setFamily(TextPanel->ComboBox6->currentText());
  TextPanel->Edit5->setFont(sample);
}

}  // namespace quillet
