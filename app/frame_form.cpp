#include "app/frame_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpression>
#include <map>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTime>
#include <QUrl>
#include <QVBoxLayout>

#include "app/about_box.h"
#include "app/color_swatch.h"
#include "app/edit_form.h"
#include "app/file_filters.h"
#include "app/new_image_dialog.h"
#include "imaging/proc/clipboard.h"

namespace quillet {

namespace {

const char* const kZoomItems[] = {"25 %", "50 %", "100 %", "200 %", "400 %", "800 %", "1600 %"};
const int kZoomPercents[] = {25, 50, 100, 200, 400, 800, 1600};
const QColor kTeal(0, 128, 128);

}  // namespace

TFrameForm::TFrameForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("FrameForm");
  setWindowTitle("Brenmor Quillet 5.1");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  MdiArea = new QMdiArea;
  MdiArea->setObjectName("MdiArea");
  MdiArea->setBackground(kTeal);
  connect(MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
    if (w)
      if (auto* doc = qobject_cast<TEditForm*>(w->widget())) doc->FormActivate();
  });
  InstallDefaultDialogs();
  BuildMenus();
  BuildToolBars();
  BuildToolPanel();
  BuildOptionPanels();
  BuildStatusBar();
  auto* central = new QWidget;
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  for (QWidget* panel : {DrawPanel, ArtDrawPanel, BrushPanel, TextPanel, VideoPanel}) column->addWidget(panel);
  column->addWidget(MdiArea, 1);
  setCentralWidget(central);
  NewDialog = new TNew(EditorState, this);
  AboutBox = new TAboutBox(this);
  FormCreate();
  Timer1.setObjectName("Timer1");
  Timer1.setInterval(200);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  Timer1.start();
  Timer1Timer();
}

TFrameForm::~TFrameForm() = default;

void TFrameForm::InstallDefaultDialogs() {
  AskOpenFileName = [this] {
    return QFileDialog::getOpenFileName(this, "Open", {}, QtFileFilter(kOpenFilter), nullptr,
                                        QFileDialog::DontUseNativeDialog);
  };
  AskSaveFileName = [this](const QString& proposed) {
    return QFileDialog::getSaveFileName(this, "Save", proposed, QtFileFilter(kSaveFilter), nullptr,
                                        QFileDialog::DontUseNativeDialog);
  };
  AskColor = [this](const QColor& initial) {
    return QColorDialog::getColor(initial, this, {}, QColorDialog::DontUseNativeDialog);
  };
  Warn = [this](const QString& text) { QMessageBox::warning(this, "Warning", text, QMessageBox::Ok); };
  ConfirmClose = [this](const QString& caption) {
    return QMessageBox::question(this, "Confirmation", QString("Save changes to %1?").arg(caption),
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  };
  OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

// ---- construction

void TFrameForm::RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::bad_alloc&) {
    Warn("Not enough memory for this command.");
  } catch (const std::exception& e) {
    Warn(QString("The command failed: %1").arg(e.what()));
  }
}

QAction* TFrameForm::Item(QMenu* menu, const char* name, const QString& caption, std::function<void()> handler) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  action->setEnabled(bool(handler));
  if (handler) connect(action, &QAction::triggered, this, [this, handler] { RunCommand(handler); });
  else pending_.push_back(action);  // its command arrives with a later part of the editor
  return action;
}

void TFrameForm::BuildMenus() {
  auto top = [this](const char* name, const char* caption) {
    QMenu* menu = menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
  };
  auto sub = [](QMenu* parent, const char* name, const char* caption) {
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(name);
    return menu;
  };
  File1 = top("File1", "&File");
  New1 = Item(File1, "New1", "&New", [this] { New1Click(); });
  NewFromClipboard1 = Item(File1, "NewFromClipboard1", "New From Clipboard", [this] { NewFromClipboard1Click(); });
  Open1 = Item(File1, "Open1", "&Open", [this] { Open1Click(); });
  File1->addSeparator();
  Import1 = Item(File1, "Import1", "Import AVI");
  File1->addSeparator();
  Animation1 = Item(File1, "Animation1", "Animation");
  File1->addSeparator();
  AcquireImage1 = Item(File1, "AcquireImage1", "Acquire Image");
  SaveAs1 = Item(File1, "SaveAs1", "&Save", [this] { SaveAs1Click(); });
  File1->addSeparator();
  PrinterSetup1 = Item(File1, "PrinterSetup1", "Printer Setup");
  Print1 = Item(File1, "Print1", "&Print");
  File1->addSeparator();
  Exit1 = Item(File1, "Exit1", "E&xit", [this] { Exit1Click(); });

  Edit1 = top("Edit1", "&Edit");
  Undo1 = Item(Edit1, "Undo1", "&Undo", [this] { Undo1Click(); });
  Edit1->addSeparator();
  Copy1 = sub(Edit1, "Copy1", "&Copy");
  all1 = Item(Copy1, "all1", "All", [this] { all1Click(); });
  Selection1 = Item(Copy1, "Selection1", "Selection", [this] { Selection1Click(); });
  Paste1 = sub(Edit1, "Paste1", "&Paste");
  Asnew1 = Item(Paste1, "Asnew1", "As new image", [this] { Asnew1Click(); });
  Toselection1 = Item(Paste1, "Toselection1", "As new selection", [this] { Toselection1Click(); });
  Edit1->addSeparator();
  Select1 = Item(Edit1, "Select1", "Select", [this] { Select1Click(); });
  Selectall1 = Item(Edit1, "Selectall1", "Select all", [this] { Selectall1Click(); });
  Deselect1 = Item(Edit1, "Deselect1", "Deselect", [this] { Deselect1Click(); });

  Image1 = top("Image1", "&Image");
  Duplicate1 = Item(Image1, "Duplicate1", "Duplicate", [this] { Duplicate1Click(); });
  Image1->addSeparator();
  Flip1 = sub(Image1, "Flip1", "Flip");
  Horizontal2 = Item(Flip1, "Horizontal2", "Horizontal", [this] { Horizontal2Click(); });
  Vertical2 = Item(Flip1, "Vertical2", "Vertical", [this] { Vertical2Click(); });
  Rotate1 = sub(Image1, "Rotate1", "Rotate");
  N90Clockwise1 = Item(Rotate1, "N90Clockwise1", QString::fromUtf8("90\u00b0 Clockwise"), [this] { N90Clockwise1Click(); });
  N90Counterclockwise1 = Item(Rotate1, "N90Counterclockwise1", QString::fromUtf8("90\u00b0 Counterclockwise"), [this] { N90Counterclockwise1Click(); });
  N1801 = Item(Rotate1, "N1801", QString::fromUtf8("180\u00b0"), [this] { N1801Click(); });
  Rotatecustom1 = Item(Rotate1, "Rotatecustom1", "Rotate custom");
  Image1->addSeparator();
  Crop2 = Item(Image1, "Crop2", "Crop", [this] { Crop2Click(); });
  Papersize1 = Item(Image1, "Papersize1", "Paper Size");
  Imagesize2 = Item(Image1, "Imagesize2", "Image Size");
  Image1->addSeparator();
  Background1 = Item(Image1, "Background1", "Background", [this] { Background1Click(); });
  Clear1 = Item(Image1, "Clear1", "Clear", [this] { Clear1Click(); });

  Color1 = top("Color1", "&Color");
  Equalize1 = Item(Color1, "Equalize1", "Equalize");
  AutoEqualize1 = Item(Color1, "AutoEqualize1", "Auto Equalize");
  Contrast1 = Item(Color1, "Contrast1", "Contrast");
  RGB1 = Item(Color1, "RGB1", "RGB");
  HueSaturationValue1 = Item(Color1, "HueSaturationValue1", "Hue/Saturation/Value");
  HueSaturationLuminosity1 = Item(Color1, "HueSaturationLuminosity1", "Hue/Saturation/Luminosity");
  Color1->addSeparator();
  SplitChannelsTo1 = sub(Color1, "SplitChannelsTo1", "Split Channels To...");
  RGB2 = Item(SplitChannelsTo1, "RGB2", "RGB");
  HSV1 = Item(SplitChannelsTo1, "HSV1", "HSV");
  Color1->addSeparator();
  Mode1 = sub(Color1, "Mode1", "Mode");
  BW1bit = Item(Mode1, "BW1bit", "Black and White");
  Gray8bit = Item(Mode1, "Gray8bit", "Gray", [this] { Gray8bitClick(); });
  Conv24bit = Item(Mode1, "Conv24bit", "RGB Color", [this] { Conv24bitClick(); });
  Color1->addSeparator();
  NegativeImage1 = Item(Color1, "NegativeImage1", "Negative Image", [this] { NegativeImage1Click(); });

  Effects1 = top("Effects1", "Effec&ts");
  Bumpmap1 = Item(Effects1, "Bumpmap1", "Bump map");
  Lens1 = Item(Effects1, "Lens1", "Lens");
  Wave1 = Item(Effects1, "Wave1", "Wave");
  Morphingfilters1 = Item(Effects1, "Morphingfilters1", "Morphing filters");
  Userfilters1 = Item(Effects1, "Userfilters1", "User filters");

  View1 = top("View1", "&View");
  ZoomIn1 = Item(View1, "ZoomIn1", "Zoom In", [this] { ZoomIn1Click(); });
  ZoomOut1 = Item(View1, "ZoomOut1", "Zoom Out", [this] { ZoomOut1Click(); });
  ZoomFit1 = Item(View1, "ZoomFit1", "Zoom Fit", [this] { ToolButton4Click(); });
  ZoomWindow1 = Item(View1, "ZoomWindow1", "Zoom Window", [this] { ToolButton7Click(); });
  View1->addSeparator();
  Zoom1 = sub(View1, "Zoom1", "Zoom...");
  QAction** zooms[] = {&N251, &N501, &N1001, &N2001, &N4001, &N8001, &N16001};
  const char* names[] = {"N251", "N501", "N1001", "N2001", "N4001", "N8001", "N16001"};
  for (int i = 0; i < 7; ++i)
    *zooms[i] = Item(Zoom1, names[i], kZoomItems[i], [this, i] { ZoomPercentClick(kZoomPercents[i]); });

  Window1 = top("Window1", "&Window");
  Tile1 = Item(Window1, "Tile1", "Tile", [this] { Tile1Click(); });
  Cascade1 = Item(Window1, "Cascade1", "Cascade", [this] { Cascade1Click(); });
  Arrangeicons1 = Item(Window1, "Arrangeicons1", "Arrange icons", [this] { Arrangeicons1Click(); });
  Window1->addSeparator();
  // The window list.
  connect(Window1, &QMenu::aboutToShow, this, [this] {
    for (QAction* a : Window1->actions())
      if (a->property("windowEntry").toBool()) Window1->removeAction(a), a->deleteLater();
    for (QMdiSubWindow* w : MdiArea->subWindowList()) {
      QAction* a = Window1->addAction(w->windowTitle(), this, [this, w] { MdiArea->setActiveSubWindow(w); });
      a->setProperty("windowEntry", true);
      a->setCheckable(true);
      a->setChecked(w == MdiArea->activeSubWindow());
    }
  });

  Help1 = top("Help1", "&Help");
  Contents1 = Item(Help1, "Contents1", "Contents", [this] { Contents1Click(); });
  BrenmorHomepage1 = Item(Help1, "BrenmorHomepage1", "Brenmor Homepage", [this] { BrenmorHomepage1Click(); });
  About1 = Item(Help1, "About1", "About...", [this] { About1Click(); });

  New1->setShortcut(QKeySequence::New);
  Open1->setShortcut(QKeySequence::Open);
  SaveAs1->setShortcut(QKeySequence::Save);
  Exit1->setShortcut(QKeySequence::Quit);
  Undo1->setShortcut(QKeySequence::Undo);
  Selection1->setShortcut(QKeySequence::Copy);
  all1->setShortcut(QKeySequence("Ctrl+Shift+C"));
  Asnew1->setShortcut(QKeySequence("Ctrl+Shift+V"));
  Toselection1->setShortcut(QKeySequence::Paste);
  NewFromClipboard1->setShortcut(QKeySequence("Ctrl+Alt+V"));
  Duplicate1->setShortcut(QKeySequence("Ctrl+D"));
  Crop2->setShortcut(QKeySequence("Ctrl+Shift+X"));
  Selectall1->setShortcut(QKeySequence::SelectAll);
  Deselect1->setShortcut(QKeySequence("Ctrl+Shift+A"));
  ZoomIn1->setShortcut(QKeySequence::ZoomIn);
  ZoomOut1->setShortcut(QKeySequence::ZoomOut);
  Contents1->setShortcut(QKeySequence::HelpContents);
}

namespace {

// The desktop theme's icon for a command, else its initials drawn small.
QIcon ToolIcon(const char* theme, const QString& hint) {
  if (*theme && QIcon::hasThemeIcon(theme)) return QIcon::fromTheme(theme);
  QPixmap pixmap(22, 22);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  QFont font = p.font();
  font.setPixelSize(9);
  font.setBold(true);
  p.setFont(font);
  QString initials;
  for (const QString& word : hint.split(QRegularExpression("[ /]"), Qt::SkipEmptyParts)) initials += word[0];
  p.drawText(pixmap.rect(), Qt::AlignCenter, initials.left(3));
  return QIcon(pixmap);
}

// Theme icon names of the tool bar commands.
const char* ThemeOf(const QString& hint) {
  static const std::map<QString, const char*> names = {
      {"New", "document-new"},        {"Open", "document-open"},       {"Save", "document-save"},
      {"Print", "document-print"},    {"Undo", "edit-undo"},           {"Copy all", "edit-copy"},
      {"Clear image", "edit-clear"},  {"Help", "help-contents"},       {"Zoom In", "zoom-in"},
      {"Zoom Out", "zoom-out"},       {"Zoom Fit", "zoom-fit-best"},   {"Zoom Window", "zoom-select"},
      {"Crop", "transform-crop"},     {"Flip horizontal", "object-flip-horizontal"},
      {"Flip vertical", "object-flip-vertical"},                      {"Rotate", "object-rotate-right"},
      {"Acquire Image", "scanner"},   {"Paste as new image", "edit-paste"}};
  const auto it = names.find(hint);
  return it == names.end() ? "" : it->second;
}

}  // namespace

void TFrameForm::AddToolButton(QToolBar* bar, QAction* action, const char* name, const char* hint) {
  action->setIcon(ToolIcon(ThemeOf(hint), hint));
  bar->addAction(action);
  action->setToolTip(hint);
  action->setStatusTip(hint);
  bar->widgetForAction(action)->setObjectName(name);
}

void TFrameForm::BuildToolBars() {
  ToolBar2 = addToolBar("Standard");
  ToolBar2->setObjectName("ToolBar2");
  addToolBarBreak();
  ToolBar1 = addToolBar("View");
  ToolBar1->setObjectName("ToolBar1");
  for (QToolBar* bar : {ToolBar2, ToolBar1}) {
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(20, 20));
  }
  struct TButton {
    QAction* action;
    const char *name, *hint;
  };
  const TButton upper[] = {{New1, "ToolButton1", "New"},
                           {NewFromClipboard1, "ToolButton8", "New From Clipboard"},
                           {Open1, "ToolButton9", "Open"},
                           {AcquireImage1, "ToolButton10", "Acquire Image"},
                           {SaveAs1, "ToolButton11", "Save"},
                           {Print1, "ToolButton25", "Print"},
                           {nullptr, nullptr, nullptr},
                           {Undo1, "ToolButton12", "Undo"},
                           {nullptr, nullptr, nullptr},
                           {all1, "ToolButton16", "Copy all"},
                           {Selection1, "ToolButton17", "Copy selection"},
                           {Asnew1, "ToolButton18", "Paste as new image"},
                           {Toselection1, "ToolButton19", "Paste as new selection"},
                           {Clear1, "ToolButton22", "Clear image"},
                           {nullptr, nullptr, nullptr},
                           {Equalize1, "ToolButton30", "Equalize"},
                           {AutoEqualize1, "ToolButton31", "Auto equalize"},
                           {Contrast1, "ToolButton32", "Contrast"},
                           {RGB1, "ToolButton33", "RGB"},
                           {HueSaturationValue1, "ToolButton34", "Hue/Saturation/Value"},
                           {HueSaturationLuminosity1, "ToolButton35", "Hue/Saturation/Luminosity"},
                           {nullptr, nullptr, nullptr},
                           {Bumpmap1, "ToolButton37", "Bump map"},
                           {Lens1, "ToolButton38", "Lens"},
                           {Wave1, "ToolButton39", "Wave"},
                           {nullptr, nullptr, nullptr},
                           {Contents1, "ToolButton41", "Help"}};
  for (const TButton& b : upper)
    b.action ? AddToolButton(ToolBar2, b.action, b.name, b.hint) : void(ToolBar2->addSeparator());

  const TButton zooms[] = {{ZoomIn1, "ToolButton2", "Zoom In"},
                           {ZoomOut1, "ToolButton3", "Zoom Out"},
                           {ZoomFit1, "ToolButton4", "Zoom Fit"},
                           {ZoomWindow1, "ToolButton7", "Zoom Window"}};
  for (const TButton& b : zooms) AddToolButton(ToolBar1, b.action, b.name, b.hint);
  ComboBox1 = new QComboBox;
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setEditable(true);
  ComboBox1->setFixedWidth(73);
  for (const char* item : kZoomItems) ComboBox1->addItem(item);
  SetZoomBoxText("100 %");
  connect(ComboBox1, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });
  ToolBar1->addWidget(ComboBox1);
  ToolBar1->addSeparator();
  const TButton lower[] = {{Crop2, "ToolButton21", "Crop"},
                           {Deselect1, "ToolButton42", "Deselect"},
                           {nullptr, nullptr, nullptr},
                           {Duplicate1, "ToolButton24", "Duplicate image"},
                           {Horizontal2, "ToolButton44", "Flip horizontal"},
                           {Vertical2, "ToolButton45", "Flip vertical"},
                           {Rotatecustom1, "ToolButton46", "Rotate"},
                           {Papersize1, "ToolButton23", "Edit paper size"},
                           {Imagesize2, "ToolButton47", "Edit image size"}};
  for (const TButton& b : lower)
    b.action ? AddToolButton(ToolBar1, b.action, b.name, b.hint) : void(ToolBar1->addSeparator());
}

QToolButton* TFrameForm::ToolButton(const char* name, const char* hint) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setIcon(ToolIcon("", hint));
  button->setIconSize(QSize(20, 20));
  button->setToolTip(hint);
  button->setStatusTip(hint);
  button->setCheckable(true);
  button->setAutoRaise(true);
  button->setFixedSize(24, 24);
  return button;
}

void TFrameForm::BuildToolPanel() {
  ToolPanel = new QToolBar("Tools");
  ToolPanel->setObjectName("ToolPanel");
  ToolPanel->setMovable(false);
  ToolPanel->setOrientation(Qt::Vertical);
  ToolPanel->setFixedWidth(28);
  addToolBar(Qt::LeftToolBarArea, ToolPanel);
  BasicColor = new TColorSwatch("BasicColor", Qt::black, "Paint Color - Double Click to Edit");
  AddColor = new TColorSwatch("AddColor", Qt::white, "Current Fill - Double Click to Edit");
  BasicColor->OnDblClick = [this] { BasicColorDblClick(); };
  AddColor->OnDblClick = [this] { AddColorDblClick(); };
  ToolPanel->addWidget(BasicColor);
  ToolPanel->addWidget(AddColor);
  SpeedButton33 = ToolButton("SpeedButton33", "Animation");
  SpeedButton32 = ToolButton("SpeedButton32", "Video");
  SpeedButton5 = ToolButton("SpeedButton5", "Select");
  SpeedButton1 = ToolButton("SpeedButton1", "Draw");
  SpeedButton3 = ToolButton("SpeedButton3", "Art Draw");
  SpeedButton2 = ToolButton("SpeedButton2", "Brush");
  SpeedButton7 = ToolButton("SpeedButton7", "Spray");
  SpeedButton9 = ToolButton("SpeedButton9", "Text");
  SpeedButton4 = ToolButton("SpeedButton4", "Fill");
  SpeedButton8 = ToolButton("SpeedButton8", "Eye Dropper");
  SpeedButton6 = ToolButton("SpeedButton6", "Eraser");
  // One group in which every button may be up: pressing one releases the others.
  ToolGroup = new QButtonGroup(this);
  ToolGroup->setExclusive(false);
  for (QToolButton* b : {SpeedButton33, SpeedButton32, SpeedButton5, SpeedButton1, SpeedButton3, SpeedButton2,
                         SpeedButton7, SpeedButton9, SpeedButton4, SpeedButton8, SpeedButton6}) {
    ToolGroup->addButton(b);
    ToolPanel->addWidget(b);
    // Only Select works so far; the other tools arrive with their own parts.
    b->setEnabled(b == SpeedButton5);
  }
  connect(ToolGroup, &QButtonGroup::buttonToggled, this, [this](QAbstractButton* b, bool down) {
    if (!down) return;
    for (QAbstractButton* other : ToolGroup->buttons())
      if (other != b) other->setChecked(false);
  });
}

void TFrameForm::BuildOptionPanels() {
  auto panel = [](const char* name, int height) {
    auto* w = new QWidget;
    w->setObjectName(name);
    w->setFixedHeight(height);
    w->hide();
    return w;
  };
  auto combo = [](QWidget* parent, const char* name, const char* hint, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setToolTip(hint);
    c->setStatusTip(hint);
    c->addItems(items);
    return c;
  };
  auto icon = [](QWidget* parent, const char* name, const char* hint) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setToolTip(hint);
    l->setFixedSize(22, 22);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return l;
  };
  DrawPanel = panel("DrawPanel", 25);
  Image2 = icon(DrawPanel, "Image2", "Current Draw Tool");
  ComboBox2 = combo(DrawPanel, "ComboBox2", "Current Draw Tool", {" Line", " Rectangle", " Ellipse"});
  UpDown1 = new QSpinBox(DrawPanel);
  UpDown1->setObjectName("UpDown1");
  UpDown1->setRange(1, 100);
  UpDown1->setValue(1);
  UpDown1->setToolTip("Pen width");
  UpDown1->findChild<QLineEdit*>()->setObjectName("Edit2");
  Image4 = icon(DrawPanel, "Image4", "Current Fill Type");
  ComboBox4 = combo(DrawPanel, "ComboBox4", "Current Fill Type",
                    {" None Fill", " Solid Fill", " Horizontal Fill", " Vertical Fill", " FDiagonal Fill",
                     " BDiagonal Fill", " Cross Fill", " DiagCross Fill"});
  auto* draw = new QHBoxLayout(DrawPanel);
  draw->setContentsMargins(2, 0, 2, 0);
  for (QWidget* w : std::initializer_list<QWidget*>{Image2, ComboBox2, UpDown1, Image4, ComboBox4}) draw->addWidget(w);
  draw->addStretch();

  ArtDrawPanel = panel("ArtDrawPanel", 25);
  ComboBox3 = combo(ArtDrawPanel, "ComboBox3", "Current Draw Tool",
                    {" Line (RGB)", " Line (Cross)", " Line (Variable thickness)", " Line (Herring-bone)",
                     " Rectangle (RGB)", " Rectangle (Cross)", " Rectangle (Variable thickness)",
                     " Rectangle (Herring-bone)"});
  ComboBox3->setFixedWidth(177);
  auto* art = new QHBoxLayout(ArtDrawPanel);
  art->setContentsMargins(2, 0, 2, 0);
  art->addWidget(ComboBox3);
  art->addStretch();

  BrushPanel = panel("BrushPanel", 25);
  BrushGroup = new QButtonGroup(this);
  BrushGroup->setExclusive(true);
  auto* brushes = new QHBoxLayout(BrushPanel);
  brushes->setContentsMargins(2, 0, 2, 0);
  brushes->setSpacing(0);
  for (int n : {31, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}) {
    auto* b = new QToolButton(BrushPanel);
    b->setObjectName(QString("SpeedButton%1").arg(n));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setFixedSize(20, 20);
    b->setChecked(n == 31);
    BrushGroup->addButton(b);
    brushes->addWidget(b);
  }
  brushes->addStretch();

  TextPanel = panel("TextPanel", 25);
  Edit5 = new QLineEdit("AaBbCcDd", TextPanel);
  Edit5->setObjectName("Edit5");
  Edit5->setToolTip("Sample");
  ComboBox6 = combo(TextPanel, "ComboBox6", "Selects a font", {});
  ComboBox7 = combo(TextPanel, "ComboBox7", "Selects a font size",
                    {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"});
  auto toggle = [this](const char* name, const char* text, const char* hint) {
    auto* b = new QToolButton(TextPanel);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setCheckable(true);
    return b;
  };
  BoldButton = toggle("BoldButton", "B", "Bolds text");
  ItalicButton = toggle("ItalicButton", "I", "Italicizes text");
  UnderlineButton = toggle("UnderlineButton", "U", "Underlines text");
  auto* text = new QHBoxLayout(TextPanel);
  text->setContentsMargins(2, 0, 2, 0);
  for (QWidget* w : std::initializer_list<QWidget*>{Edit5, ComboBox6, ComboBox7, BoldButton, ItalicButton,
                                                    UnderlineButton})
    text->addWidget(w);
  text->addStretch();

  // The video controls arrive with video import; the panel shows only while Video is down.
  VideoPanel = panel("VideoPanel", 132);
}

void TFrameForm::BuildStatusBar() {
  StatusBar1 = new QStatusBar;
  StatusBar1->setObjectName("StatusBar1");
  StatusPanel0 = new QLabel;
  StatusPanel0->setObjectName("StatusPanel0");
  StatusPanel0->setFixedWidth(50);
  StatusPanel0->setAlignment(Qt::AlignCenter);
  StatusPanel1 = new QLabel;
  StatusPanel1->setObjectName("StatusPanel1");
  StatusBar1->addWidget(StatusPanel0);
  StatusBar1->addWidget(StatusPanel1, 1);
  setStatusBar(StatusBar1);
}

// ---- events

void TFrameForm::FormCreate() {
  EditorState = TEditorState();
  const QStringList fonts = QFontDatabase::families();
  ComboBox6->addItems(fonts);
  if (!fonts.isEmpty()) {
    ComboBox6->setCurrentIndex(0);
    QFont sample = Edit5->font();
    sample.setFamily(fonts.first());
    Edit5->setFont(sample);
  }
  ComboBox7->setCurrentIndex(0);
  ComboBox3->setCurrentIndex(0);
}

// Status tips are the application's hints: they go to panel 1.
bool TFrameForm::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    PanelHint(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

void TFrameForm::PanelHint(const QString& hint) { StatusPanel1->setText(hint); }

void TFrameForm::closeEvent(QCloseEvent* e) {
  // Every document may still ask to be saved; a cancel keeps the editor open.
  MdiArea->closeAllSubWindows();
  if (!MdiArea->subWindowList().isEmpty()) return e->ignore();
  e->accept();
}

// ---- documents

TEditForm* TFrameForm::ActiveDocument() const {
  QMdiSubWindow* w = MdiArea->activeSubWindow();
  if (!w && !MdiArea->subWindowList().isEmpty()) w = MdiArea->currentSubWindow();
  return w ? qobject_cast<TEditForm*>(w->widget()) : nullptr;
}

QString TFrameForm::UntitledCaption() const {
  return QString("Untitled%1").arg(MdiArea->subWindowList().size() + 1);
}

TEditForm* TFrameForm::CreateDocument(const QString& caption) {
  auto* form = new TEditForm(*this);
  QMdiSubWindow* window = MdiArea->addSubWindow(form);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(caption);
  form->setWindowTitle(caption);
  window->resize(418, 242);
  window->show();
  MdiArea->setActiveSubWindow(window);
  form->FormActivate();
  return form;
}

void TFrameForm::SetZoomBoxText(const QString& text) {
  const QSignalBlocker block(ComboBox1);
  ComboBox1->setEditText(text);
}

// ---- commands

void TFrameForm::New1Click() {
  if (NewDialog->exec() != QDialog::Accepted) return;
  EditorState.PendingCreation = TCreationMode::cmNew;
  CreateDocument(UntitledCaption());
  SetZoomBoxText("100 %");
}

void TFrameForm::Open1Click() {
  const QString file = AskOpenFileName();
  if (file.isEmpty()) return;
  EditorState.PendingCreation = TCreationMode::cmOpen;
  EditorState.OpenFileName = file.toStdString();
  CreateDocument(file);
  SetZoomBoxText("100 %");
}

bool TFrameForm::ClipboardHasBitmap() {
  if (SystemClipboard().HasBitmap()) return true;
  Warn("Clipboard does not contain graphic objects");
  return false;
}

void TFrameForm::NewFromClipboard1Click() {
  if (!ClipboardHasBitmap()) return;
  EditorState.PendingCreation = TCreationMode::cmFromClipboard;
  CreateDocument(UntitledCaption());
  SetZoomBoxText("100 %");
}

void TFrameForm::all1Click() {
  TEditForm* doc = ActiveDocument();
  if (!doc) return;
  const TIEWorkingBitmap& b = doc->ZiridEvView1->Bitmap();
  doc->ZiridEvView1->SelectRectangle(0, 0, b.Width(), b.Height(), false);
  doc->ZiridEvProc1.SelCopyToClipboard();
}

void TFrameForm::Selection1Click() {
  TEditForm* doc = ActiveDocument();
  if (doc && doc->ZiridEvView1->Selection().SelectionExists()) doc->ZiridEvProc1.SelCopyToClipboard();
}

void TFrameForm::Asnew1Click() {
  if (!ActiveDocument()) return;
  NewFromClipboard1Click();
  Doc(&TEditForm::PasteAsNew);
}

void TFrameForm::Toselection1Click() { Doc(&TEditForm::PasteToSel); }

// The copy travels through the clipboard, which keeps it afterwards.
void TFrameForm::Duplicate1Click() {
  if (!ActiveDocument()) return;
  all1Click();
  Doc(&TEditForm::DeSelect);
  NewFromClipboard1Click();
}

void TFrameForm::Crop2Click() { Doc(&TEditForm::Crop); }

void TFrameForm::Doc(void (TEditForm::*command)()) {
  if (TEditForm* doc = ActiveDocument()) (doc->*command)();
}

void TFrameForm::Horizontal2Click() { Doc(&TEditForm::MirrorHor); }
void TFrameForm::Vertical2Click() { Doc(&TEditForm::MirrorVer); }
void TFrameForm::N90Clockwise1Click() { Doc(&TEditForm::Rotate270); }
void TFrameForm::N90Counterclockwise1Click() { Doc(&TEditForm::Rotate90); }
void TFrameForm::N1801Click() { Doc(&TEditForm::Rotate180); }
void TFrameForm::Clear1Click() { Doc(&TEditForm::Clear); }
void TFrameForm::Gray8bitClick() { Doc(&TEditForm::ConvertToGray); }
void TFrameForm::Conv24bitClick() { Doc(&TEditForm::ConvertTo24Bit); }
void TFrameForm::NegativeImage1Click() { Doc(&TEditForm::Negative); }

void TFrameForm::SaveAs1Click() {
  if (TEditForm* doc = ActiveDocument()) doc->Save();
}

void TFrameForm::Exit1Click() { close(); }

void TFrameForm::Undo1Click() {
  if (TEditForm* doc = ActiveDocument()) doc->Undo();
}

void TFrameForm::Select1Click() { SpeedButton5->setChecked(true); }

void TFrameForm::Selectall1Click() {
  if (TEditForm* doc = ActiveDocument()) doc->SelectAll();
}

void TFrameForm::Deselect1Click() {
  if (TEditForm* doc = ActiveDocument()) doc->DeSelect();
}

void TFrameForm::Background1Click() {
  TEditForm* doc = ActiveDocument();
  if (!doc) return;
  const TBGR old = doc->ZiridEvView1->Background();
  const QColor chosen = AskColor(QColor(old.r, old.g, old.b));
  if (chosen.isValid())
    doc->ZiridEvView1->SetBackground(MakeBGR(uint8_t(chosen.red()), uint8_t(chosen.green()), uint8_t(chosen.blue())));
}

void TFrameForm::ZoomIn1Click() {
  if (TEditForm* doc = ActiveDocument()) doc->ZoomIn();
}

void TFrameForm::ZoomOut1Click() {
  if (TEditForm* doc = ActiveDocument()) doc->ZoomOut();
}

void TFrameForm::ToolButton4Click() {
  if (TEditForm* doc = ActiveDocument()) doc->ZoomFit();
}

void TFrameForm::ToolButton7Click() {
  if (TEditForm* doc = ActiveDocument()) doc->ZoomWindow();
}

void TFrameForm::ZoomPercentClick(int percent) {
  TEditForm* doc = ActiveDocument();
  if (!doc) return;
  doc->ZiridEvView1->SetZoom(percent);
  EditorState.CurrentZoom = percent;
  SetZoomBoxText(QString("%1 %").arg(percent));
}

void TFrameForm::Tile1Click() { MdiArea->tileSubWindows(); }
void TFrameForm::Cascade1Click() { MdiArea->cascadeSubWindows(); }

// Minimized documents line up along the bottom of the area.
void TFrameForm::Arrangeicons1Click() {
  int x = 0;
  for (QMdiSubWindow* w : MdiArea->subWindowList()) {
    if (!w->isMinimized()) continue;
    w->move(x, MdiArea->viewport()->height() - w->height());
    x += w->width();
  }
}

void TFrameForm::Contents1Click() {
  const QString help = QCoreApplication::applicationDirPath() + "/quillet-help.html";
  if (!OpenUrl(QUrl::fromLocalFile(help))) Warn("Cannot open the help file " + help);
}

void TFrameForm::BrenmorHomepage1Click() { OpenUrl(QUrl(kHomePage)); }

void TFrameForm::About1Click() { AboutBox->exec(); }

void TFrameForm::ComboBox1Change() {
  const QString text = ComboBox1->currentText();
  for (int i = 0; i < 7; ++i)
    if (text == kZoomItems[i]) EditorState.CurrentZoom = kZoomPercents[i];
  if (TEditForm* doc = ActiveDocument()) doc->ZiridEvView1->SetZoom(EditorState.CurrentZoom);
}

void TFrameForm::BasicColorDblClick() {
  const QColor chosen = AskColor(BasicColor->Color());
  if (chosen.isValid()) BasicColor->SetColor(chosen);
}

void TFrameForm::AddColorDblClick() {
  const QColor chosen = AskColor(AddColor->Color());
  if (chosen.isValid()) AddColor->SetColor(chosen);
}

// ---- the refresh

void TFrameForm::Enable(QAction* action, bool on) {
  const bool pending = std::find(pending_.begin(), pending_.end(), action) != pending_.end();
  action->setEnabled(on && !pending);
}

void TFrameForm::Timer1Timer() {
  StatusPanel0->setText(QTime::currentTime().toString(QLocale().timeFormat(QLocale::ShortFormat)));
  VideoPanel->setVisible(SpeedButton32->isChecked());
  TEditForm* doc = ActiveDocument();
  QMenu* const imageMenus[] = {Edit1, Image1, Color1, Effects1, View1, Window1};
  if (!doc) {
    ToolBar2->hide();
    ToolBar1->hide();
    for (QToolButton* b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6,
                           SpeedButton7, SpeedButton8, SpeedButton9})
      b->setChecked(false);
    for (QWidget* p : {DrawPanel, ArtDrawPanel, BrushPanel, TextPanel}) p->hide();
    for (QAction* a : {SaveAs1, PrinterSetup1, Print1}) Enable(a, false);
    for (QMenu* m : imageMenus) m->menuAction()->setEnabled(false);
    return;
  }
  ToolBar2->show();
  ToolBar1->show();
  for (QAction* a : {SaveAs1, PrinterSetup1, Print1}) Enable(a, true);
  for (QMenu* m : imageMenus) m->menuAction()->setEnabled(true);

  const TIEPixelFormat format = doc->ZiridEvView1->Bitmap().PixelFormat();
  SplitChannelsTo1->menuAction()->setEnabled(format != TIEPixelFormat::pf1bit);
  Enable(BW1bit, format == TIEPixelFormat::pf24bit);
  Enable(Gray8bit, format == TIEPixelFormat::pf24bit);
  Enable(Conv24bit, format == TIEPixelFormat::pf1bit);

  const std::pair<QWidget*, bool> panels[] = {{DrawPanel, SpeedButton1->isChecked()},
                                              {ArtDrawPanel, SpeedButton3->isChecked()},
                                              {BrushPanel, SpeedButton2->isChecked() || SpeedButton7->isChecked()},
                                              {TextPanel, SpeedButton9->isChecked()}};
  for (const auto& [panel, shown] : panels) {
    panel->setVisible(shown);
    if (shown) doc->ZiridEvView1->SetMouseInteract(0);
  }
  if (SpeedButton5->isChecked() && doc->ZiridEvView1->MouseInteract() != miSelect)
    doc->ZiridEvView1->SetMouseInteract(miSelect);

  Enable(Undo1, EditorState.UndoAvailable);
  for (QAction* a : {Selection1, Toselection1, Crop2, Deselect1}) Enable(a, EditorState.HasSelection);
  Enable(ZoomOut1, EditorState.CurrentZoom > 25);
  Enable(ZoomIn1, EditorState.CurrentZoom < 1600);
}

}  // namespace quillet
