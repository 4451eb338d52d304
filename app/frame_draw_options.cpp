// The paint tools' controls: which tool is down, the option values the tools
// read, and the Draw panel's handlers: the shape list sets the Draw tool's
// figure, the fill type list the picture of its fill; both show their choice
// in a picture from the program's resources.
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
  if (ToolPanel->SpeedButton1->isChecked()) return TPaintTool::ptDraw;
  if (ToolPanel->SpeedButton3->isChecked()) return TPaintTool::ptArtDraw;
  return TPaintTool::ptSelect;
}

TPaintOptions TFrameForm::PaintOptions() const {
  TPaintOptions options;
  options.PaintColor = BGROf(ToolPanel->BasicColor->Color());
  options.FillColor = BGROf(ToolPanel->AddColor->Color());
  options.PenWidth = DrawPanel->UpDown1->value();
  options.FillType = DrawPanel->ComboBox4->currentIndex();
  options.ArtPattern = ArtDrawPanel->ComboBox3->currentIndex();
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

}  // namespace quillet
