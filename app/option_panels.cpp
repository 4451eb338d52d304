#include "app/option_panels.h"

#include <QAbstractItemView>
#include <QHBoxLayout>

#include "app/brush_icons.h"
#include "app/tool_icons.h"
#include "imaging/core/font_match.h"
#include "imaging/view/paint_tools.h"

namespace quillet {

namespace {

QComboBox* Combo(QWidget* parent, const char* name, const char* hint, const QStringList& items) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->setToolTip(hint);
  c->setStatusTip(hint);
  c->addItems(items);
  return c;
}

// The frame shows the chosen shape and fill type in these.
QLabel* Picture(QWidget* parent, const char* name, const char* hint) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setToolTip(hint);
  l->setFixedSize(22, 22);
  l->setAlignment(Qt::AlignCenter);
  l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  return l;
}

QHBoxLayout* Row(QWidget* panel, std::initializer_list<QWidget*> widgets) {
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(2, 0, 2, 0);
  for (QWidget* w : widgets) row->addWidget(w);
  row->addStretch();
  return row;
}

}  // namespace

TOptionPanel::TOptionPanel(const char* name, int height, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  setFixedHeight(height);
  hide();
}

TDrawPanel::TDrawPanel(QWidget* parent) : TOptionPanel("DrawPanel", 25, parent) {
  Image2 = Picture(this, "Image2", "Current Draw Tool");
  ComboBox2 = Combo(this, "ComboBox2", "Current Draw Tool", {" Line", " Rectangle", " Ellipse"});
  ComboBox2->setEditable(true);
  ComboBox2->setInsertPolicy(QComboBox::NoInsert);
  UpDown1 = new QSpinBox(this);
  UpDown1->setObjectName("UpDown1");
  UpDown1->setRange(1, 100);
  UpDown1->setValue(1);
  UpDown1->setToolTip("Pen width");
  UpDown1->findChild<QLineEdit*>()->setObjectName("Edit2");
  Image4 = Picture(this, "Image4", "Current Fill Type");
  ComboBox4 = Combo(this, "ComboBox4", "Current Fill Type",
                    {" None Fill", " Solid Fill", " Horizontal Fill", " Vertical Fill", " FDiagonal Fill",
                     " BDiagonal Fill", " Cross Fill", " DiagCross Fill"});
  Row(this, {Image2, ComboBox2, UpDown1, Image4, ComboBox4});
}

TArtDrawPanel::TArtDrawPanel(QWidget* parent) : TOptionPanel("ArtDrawPanel", 25, parent) {
  ComboBox3 = Combo(this, "ComboBox3", "Current Draw Tool",
                    {" Line (RGB)", " Line (Cross)", " Line (Variable thickness)", " Line (Herring-bone)",
                     " Rectangle (RGB)", " Rectangle (Cross)", " Rectangle (Variable thickness)",
                     " Rectangle (Herring-bone)"});
  ComboBox3->setFixedWidth(177);
  Row(this, {ComboBox3});
}

TBrushPanel::TBrushPanel(QWidget* parent) : TOptionPanel("BrushPanel", 25, parent) {
  BrushGroup = new QButtonGroup(this);
  BrushGroup->setExclusive(true);
  QHBoxLayout* row = Row(this, {});
  row->setSpacing(0);
  for (int shape = 0; shape < kBrushShapeCount; ++shape) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString("SpeedButton%1").arg(BrushButtonNumber(shape)));
    b->setIcon(BrushIcon(shape));
    b->setIconSize(QSize(16, 16));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setFixedSize(20, 20);
    b->setChecked(shape == 0);
    BrushGroup->addButton(b, shape);
    row->insertWidget(row->count() - 1, b);  // before the stretch
  }
}

TTextPanel::TTextPanel(QWidget* parent) : TOptionPanel("TextPanel", 25, parent) {
  Edit5 = new QLineEdit("AaBbCcDd", this);
  Edit5->setObjectName("Edit5");
  Edit5->setFixedWidth(145);
  Edit5->setToolTip("Sample");
  ComboBox6 = Combo(this, "ComboBox6", "Selects a font", {});
  ComboBox7 = Combo(this, "ComboBox7", "Selects a font size",
                    {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"});
  ComboBox7->setEditable(true);
  ComboBox7->setInsertPolicy(QComboBox::NoInsert);
  auto toggle = [this](const char* name, const char* icon, const char* hint) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setIcon(ToolIcon(icon));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setCheckable(true);
    b->setAutoRaise(true);
    return b;
  };
  SpeedButton10 = toggle("SpeedButton10", "format-text-bold", "Bolds text");
  SpeedButton11 = toggle("SpeedButton11", "format-text-italic", "Italicizes text");
  SpeedButton12 = toggle("SpeedButton12", "format-text-underline", "Underlines text");
  Row(this, {Edit5, ComboBox6, ComboBox7, SpeedButton10, SpeedButton11, SpeedButton12});
}

// The engine draws the text, so the list offers the faces it can find, each
// name written in its face at the list's size; the open list is as wide as
// its widest name.
void TTextPanel::FillFonts() {
  for (const std::string& family : ScalableFontFamilies()) {
    const QString name = QString::fromStdString(family);
    QFont face = ComboBox6->font();
    face.setFamily(name);
    ComboBox6->addItem(name);
    ComboBox6->setItemData(ComboBox6->count() - 1, face, Qt::FontRole);
  }
  ComboBox6->view()->setMinimumWidth(ComboBox6->view()->sizeHintForColumn(0));
  if (ComboBox6->count() == 0) return;
  ComboBox6->setCurrentIndex(0);
  QFont sample = Edit5->font();
  sample.setFamily(ComboBox6->itemText(0));
  Edit5->setFont(sample);
}

std::optional<int> TTextPanel::FontSize() const {
  if (ComboBox7->findText(ComboBox7->currentText(), Qt::MatchExactly) < 0) return std::nullopt;
  return ComboBox7->currentText().toInt();
}

TIEFontDesc TTextPanel::TextFont() const {
  TIEFontDesc font;
  font.Name = Edit5->font().family().toStdString();
  font.Size = FontSize().value_or(0);
  font.Bold = SpeedButton10->isChecked();
  font.Italic = SpeedButton11->isChecked();
  font.Underline = SpeedButton12->isChecked();
  return font;
}

}  // namespace quillet
