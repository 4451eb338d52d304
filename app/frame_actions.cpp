// The command table, and the frame's menu and tool bar builders and enable
// rules that read it.
#include "app/frame_actions.h"

#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolButton>
#include <cstring>
#include <functional>
#include <stdexcept>

#include "app/edit_form.h"
#include "app/frame_form.h"
#include "app/tool_icons.h"

namespace quillet {

namespace {

using F = TFrameForm;
using R = TEnableRule;

const TFrameMenu kMenus[] = {
    {"File1", &F::File1, nullptr, "&File"},
    {"Edit1", &F::Edit1, nullptr, "&Edit"},
    {"Image1", &F::Image1, nullptr, "&Image"},
    {"Color1", &F::Color1, nullptr, "&Color"},
    {"Effects1", &F::Effects1, nullptr, "Effec&ts"},
    {"View1", &F::View1, nullptr, "&View"},
    {"Window1", &F::Window1, nullptr, "&Window"},
    {"Help1", &F::Help1, nullptr, "&Help"},
    {"Copy1", &F::Copy1, "Edit1", "&Copy"},
    {"Paste1", &F::Paste1, "Edit1", "&Paste"},
    {"Flip1", &F::Flip1, "Image1", "&Flip"},
    {"Rotate1", &F::Rotate1, "Image1", "&Rotate"},
    {"SplitChannelsTo1", &F::SplitChannelsTo1, "Color1", "&Split Channels To..."},
    {"Mode1", &F::Mode1, "Color1", "&Mode"},
    {"Zoom1", &F::Zoom1, "View1", "&Zoom..."},
};

constexpr TFrameCommand Separator(const char* menu) {
  return {menu, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, R::erAlways, nullptr, nullptr};
}

const TFrameCommand kCommands[] = {
    {"File1", "New1", &F::New1, "&New", "Ctrl+N", "document-new", &F::New1Click, R::erAlways, "ToolButton1", "New"},
    {"File1", "NewFromClipboard1", &F::NewFromClipboard1, "New &From Clipboard", "Ctrl+Alt+V", ":/icons/new-from-clipboard.svg", &F::NewFromClipboard1Click, R::erAlways, "ToolButton8", "New From Clipboard"},
    {"File1", "Open1", &F::Open1, "&Open", "Ctrl+O", "document-open", &F::Open1Click, R::erAlways, "ToolButton9", "Open"},
    Separator("File1"),
    {"File1", "Import1", &F::Import1, "&Import AVI", nullptr, nullptr, nullptr, R::erAlways, nullptr, nullptr},
    Separator("File1"),
    {"File1", "Animation1", &F::Animation1, "&Animation", nullptr, nullptr, nullptr, R::erAlways, nullptr, nullptr},
    Separator("File1"),
    {"File1", "AcquireImage1", &F::AcquireImage1, "Ac&quire Image", nullptr, "document-scan", nullptr, R::erAlways, "ToolButton10", "Acquire Image"},
    {"File1", "SaveAs1", &F::SaveAs1, "&Save", "Ctrl+S", "document-save", &F::SaveAs1Click, R::erDocument, "ToolButton11", "Save"},
    Separator("File1"),
    {"File1", "PrinterSetup1", &F::PrinterSetup1, "Printer Se&tup", nullptr, nullptr, nullptr, R::erDocument, nullptr, nullptr},
    {"File1", "Print1", &F::Print1, "&Print", "Ctrl+P", "document-print", nullptr, R::erDocument, "ToolButton25", "Print"},
    Separator("File1"),
    {"File1", "Exit1", &F::Exit1, "E&xit", "Ctrl+Q", nullptr, &F::Exit1Click, R::erAlways, nullptr, nullptr},

    {"Edit1", "Undo1", &F::Undo1, "&Undo", "Ctrl+Z", "edit-undo", &F::Undo1Click, R::erUndo, "ToolButton12", "Undo"},
    Separator("Edit1"),
    {"Copy1", "all1", &F::all1, "&All", "Ctrl+Shift+C", "edit-copy", &F::all1Click, R::erAlways, "ToolButton16", "Copy all"},
    {"Copy1", "Selection1", &F::Selection1, "&Selection", "Ctrl+C", ":/icons/copy-selection.svg", &F::Selection1Click, R::erSelection, "ToolButton17", "Copy selection"},
    {"Paste1", "Asnew1", &F::Asnew1, "As new &image", "Ctrl+Shift+V", "edit-paste", &F::Asnew1Click, R::erAlways, "ToolButton18", "Paste as new image"},
    {"Paste1", "Toselection1", &F::Toselection1, "As new &selection", "Ctrl+V", ":/icons/paste-selection.svg", &F::Toselection1Click, R::erSelection, "ToolButton19", "Paste as new selection"},
    Separator("Edit1"),
    {"Edit1", "Select1", &F::Select1, "S&elect", nullptr, nullptr, &F::Select1Click, R::erAlways, nullptr, nullptr},
    {"Edit1", "Selectall1", &F::Selectall1, "Select &all", "Ctrl+A", nullptr, &F::Selectall1Click, R::erAlways, nullptr, nullptr},
    {"Edit1", "Deselect1", &F::Deselect1, "&Deselect", "Ctrl+Shift+A", "edit-select-none", &F::Deselect1Click, R::erSelection, "ToolButton42", "Deselect"},

    {"Image1", "Duplicate1", &F::Duplicate1, "&Duplicate", "Ctrl+D", ":/icons/duplicate.svg", &F::Duplicate1Click, R::erAlways, "ToolButton24", "Duplicate image"},
    Separator("Image1"),
    {"Flip1", "Horizontal2", &F::Horizontal2, "&Horizontal", nullptr, "object-flip-horizontal", &F::Horizontal2Click, R::erAlways, "ToolButton44", "Flip horizontal"},
    {"Flip1", "Vertical2", &F::Vertical2, "&Vertical", nullptr, "object-flip-vertical", &F::Vertical2Click, R::erAlways, "ToolButton45", "Flip vertical"},
    {"Rotate1", "N90Clockwise1", &F::N90Clockwise1, "90\u00b0 &Clockwise", nullptr, nullptr, &F::N90Clockwise1Click, R::erAlways, nullptr, nullptr},
    {"Rotate1", "N90Counterclockwise1", &F::N90Counterclockwise1, "90\u00b0 C&ounterclockwise", nullptr, nullptr, &F::N90Counterclockwise1Click, R::erAlways, nullptr, nullptr},
    {"Rotate1", "N1801", &F::N1801, "&180\u00b0", nullptr, nullptr, &F::N1801Click, R::erAlways, nullptr, nullptr},
    {"Rotate1", "Rotatecustom1", &F::Rotatecustom1, "Rotate c&ustom", nullptr, "object-rotate-right", &F::Rotate2Click, R::erAlways, "ToolButton46", "Rotate"},
    Separator("Image1"),
    {"Image1", "Crop2", &F::Crop2, "Cr&op", "Ctrl+Shift+X", "transform-crop", &F::Crop2Click, R::erSelection, "ToolButton21", "Crop"},
    {"Image1", "Papersize1", &F::Papersize1, "&Paper Size", nullptr, ":/icons/paper-size.svg", &F::Papersize1Click, R::erAlways, "ToolButton23", "Edit paper size"},
    {"Image1", "Imagesize2", &F::Imagesize2, "&Image Size", nullptr, "transform-scale", &F::Imagesize2Click, R::erAlways, "ToolButton47", "Edit image size"},
    Separator("Image1"),
    {"Image1", "Background1", &F::Background1, "&Background", nullptr, nullptr, &F::Background1Click, R::erAlways, nullptr, nullptr},
    {"Image1", "Clear1", &F::Clear1, "C&lear", nullptr, "edit-clear", &F::Clear1Click, R::erAlways, "ToolButton22", "Clear image"},

    {"Color1", "Equalize1", &F::Equalize1, "&Equalize", nullptr, ":/icons/equalize.svg", &F::Equalize1Click, R::erAlways, "ToolButton30", "Equalize"},
    {"Color1", "AutoEqualize1", &F::AutoEqualize1, "&Auto Equalize", nullptr, ":/icons/auto-equalize.svg", &F::AutoEqualize1Click, R::erAlways, "ToolButton31", "Auto equalize"},
    {"Color1", "Contrast1", &F::Contrast1, "&Contrast", nullptr, ":/icons/contrast.svg", &F::Contrast1Click, R::erAlways, "ToolButton32", "Contrast"},
    {"Color1", "RGB1", &F::RGB1, "&RGB", nullptr, ":/icons/rgb.svg", &F::RGB1Click, R::erAlways, "ToolButton33", "RGB"},
    {"Color1", "HueSaturationValue1", &F::HueSaturationValue1, "&Hue/Saturation/Value", nullptr, ":/icons/hsv.svg", &F::HueSaturationValue1Click, R::erAlways, "ToolButton34", "Hue/Saturation/Value"},
    {"Color1", "HueSaturationLuminosity1", &F::HueSaturationLuminosity1, "Hue/Saturation/&Luminosity", nullptr, ":/icons/hsl.svg", &F::HueSaturationLuminosity1Click, R::erAlways, "ToolButton35", "Hue/Saturation/Luminosity"},
    Separator("Color1"),
    {"SplitChannelsTo1", "RGB2", &F::RGB2, "&RGB", nullptr, nullptr, &F::RGB2Click, R::erAlways, nullptr, nullptr},
    {"SplitChannelsTo1", "HSV1", &F::HSV1, "&HSV", nullptr, nullptr, &F::HSV1Click, R::erAlways, nullptr, nullptr},
    Separator("Color1"),
    {"Mode1", "BW1bit", &F::BW1bit, "&Black and White", nullptr, nullptr, &F::BW1bitClick, R::erColor24, nullptr, nullptr},
    {"Mode1", "Gray8bit", &F::Gray8bit, "&Gray", nullptr, nullptr, &F::Gray8bitClick, R::erColor24, nullptr, nullptr},
    {"Mode1", "Conv24bit", &F::Conv24bit, "RGB C&olor", nullptr, nullptr, &F::Conv24bitClick, R::erBlackWhite, nullptr, nullptr},
    Separator("Color1"),
    {"Color1", "NegativeImage1", &F::NegativeImage1, "&Negative Image", nullptr, nullptr, &F::NegativeImage1Click, R::erAlways, nullptr, nullptr},

    {"Effects1", "Bumpmap1", &F::Bumpmap1, "&Bump map", nullptr, ":/icons/bump-map.svg", &F::Bumpmap1Click, R::erAlways, "ToolButton37", "Bump map"},
    {"Effects1", "Lens1", &F::Lens1, "&Lens", nullptr, ":/icons/lens.svg", &F::Lens1Click, R::erAlways, "ToolButton38", "Lens"},
    {"Effects1", "Wave1", &F::Wave1, "&Wave", nullptr, ":/icons/wave.svg", &F::Wave1Click, R::erAlways, "ToolButton39", "Wave"},
    {"Effects1", "Morphingfilters1", &F::Morphingfilters1, "&Morphing filters", nullptr, nullptr, &F::Morphingfilters1Click, R::erAlways, nullptr, nullptr},
    {"Effects1", "Userfilters1", &F::Userfilters1, "&User filters", nullptr, nullptr, &F::Userfilters1Click, R::erAlways, nullptr, nullptr},

    {"View1", "ZoomIn1", &F::ZoomIn1, "Zoom &In", "Ctrl++; Ctrl+=", "zoom-in", &F::ZoomIn1Click, R::erZoomIn, "ToolButton2", "Zoom In"},
    {"View1", "ZoomOut1", &F::ZoomOut1, "Zoom &Out", "Ctrl+-", "zoom-out", &F::ZoomOut1Click, R::erZoomOut, "ToolButton3", "Zoom Out"},
    {"View1", "ZoomFit1", &F::ZoomFit1, "Zoom &Fit", nullptr, "zoom-fit-best", &F::ToolButton4Click, R::erAlways, "ToolButton4", "Zoom Fit"},
    {"View1", "ZoomWindow1", &F::ZoomWindow1, "Zoom &Window", nullptr, "zoom-select", &F::ToolButton7Click, R::erAlways, "ToolButton7", "Zoom Window"},
    Separator("View1"),
    {"Zoom1", "N251", &F::N251, "&25 %", nullptr, nullptr, &F::ZoomItemClick<25>, R::erAlways, nullptr, nullptr},
    {"Zoom1", "N501", &F::N501, "&50 %", nullptr, nullptr, &F::ZoomItemClick<50>, R::erAlways, nullptr, nullptr},
    {"Zoom1", "N1001", &F::N1001, "&100 %", nullptr, nullptr, &F::ZoomItemClick<100>, R::erAlways, nullptr, nullptr},
    {"Zoom1", "N2001", &F::N2001, "2&00 %", nullptr, nullptr, &F::ZoomItemClick<200>, R::erAlways, nullptr, nullptr},
    {"Zoom1", "N4001", &F::N4001, "&400 %", nullptr, nullptr, &F::ZoomItemClick<400>, R::erAlways, nullptr, nullptr},
    {"Zoom1", "N8001", &F::N8001, "&800 %", nullptr, nullptr, &F::ZoomItemClick<800>, R::erAlways, nullptr, nullptr},
    {"Zoom1", "N16001", &F::N16001, "1&600 %", nullptr, nullptr, &F::ZoomItemClick<1600>, R::erAlways, nullptr, nullptr},

    {"Window1", "Tile1", &F::Tile1, "&Tile", nullptr, nullptr, &F::Tile1Click, R::erAlways, nullptr, nullptr},
    {"Window1", "Cascade1", &F::Cascade1, "&Cascade", nullptr, nullptr, &F::Cascade1Click, R::erAlways, nullptr, nullptr},
    {"Window1", "Arrangeicons1", &F::Arrangeicons1, "&Arrange icons", nullptr, nullptr, &F::Arrangeicons1Click, R::erAlways, nullptr, nullptr},

    {"Help1", "Contents1", &F::Contents1, "&Contents", "F1", "help-contents", &F::Contents1Click, R::erAlways, "ToolButton41", "Help"},
    {"Help1", "BrenmorHomepage1", &F::BrenmorHomepage1, "Brenmor &Homepage", nullptr, nullptr, &F::BrenmorHomepage1Click, R::erAlways, nullptr, nullptr},
    {"Help1", "About1", &F::About1, "&About...", nullptr, nullptr, &F::About1Click, R::erAlways, nullptr, nullptr},
};

const char* const kToolBar2[] = {"New1", "NewFromClipboard1", "Open1", "AcquireImage1", "SaveAs1", "Print1", nullptr,
                                 "Undo1", nullptr, "all1", "Selection1", "Asnew1", "Toselection1", "Clear1", nullptr,
                                 "Equalize1", "AutoEqualize1", "Contrast1", "RGB1", "HueSaturationValue1",
                                 "HueSaturationLuminosity1", nullptr, "Bumpmap1", "Lens1", "Wave1", nullptr,
                                 "Contents1"};
const char* const kToolBar1[] = {"ZoomIn1", "ZoomOut1", "ZoomFit1", "ZoomWindow1", "ComboBox1", nullptr,
                                 "Crop2", "Deselect1", nullptr, "Duplicate1", "Horizontal2", "Vertical2",
                                 "Rotatecustom1", "Papersize1", "Imagesize2"};

const TFrameCommand& CommandNamed(const char* name) {
  for (const TFrameCommand& c : kCommands)
    if (c.Name && std::strcmp(c.Name, name) == 0) return c;
  throw std::logic_error(std::string("no command ") + name);
}

const TFrameMenu& MenuNamed(const char* name) {
  for (const TFrameMenu& m : kMenus)
    if (std::strcmp(m.Name, name) == 0) return m;
  throw std::logic_error(std::string("no menu ") + name);
}

}  // namespace

std::span<const TFrameMenu> FrameMenus() { return kMenus; }
std::span<const TFrameCommand> FrameCommands() { return kCommands; }
std::span<const char* const> ToolBar2Order() { return kToolBar2; }
std::span<const char* const> ToolBar1Order() { return kToolBar1; }

// ---- builders

void TFrameForm::BuildMenus() {
  for (const TFrameMenu& m : kMenus) this->*m.Member = nullptr;
  // A menu is made when first needed, so that a submenu stands where its first item does.
  std::function<QMenu*(const char*)> menu = [&](const char* name) {
    const TFrameMenu& m = MenuNamed(name);
    QMenu*& slot = this->*m.Member;
    if (!slot) {
      slot = m.Parent ? menu(m.Parent)->addMenu(m.Caption) : menuBar()->addMenu(m.Caption);
      slot->setObjectName(m.Name);
    }
    return slot;
  };
  for (const TFrameMenu& m : kMenus)
    if (!m.Parent) menu(m.Name);
  for (const TFrameCommand& c : kCommands) {
    QMenu* parent = menu(c.Menu);
    if (!c.Name) {
      parent->addSeparator();
      continue;
    }
    QAction* action = parent->addAction(QString::fromUtf8(c.Caption));
    action->setObjectName(c.Name);
    if (c.Shortcuts) action->setShortcuts(QKeySequence::listFromString(c.Shortcuts));
    if (c.Icon) action->setIcon(ToolIcon(c.Icon));
    action->setEnabled(c.Handler != nullptr);  // its work arrives with a later part of the editor
    if (c.Handler)
      connect(action, &QAction::triggered, this, [this, h = c.Handler] { RunCommand([this, h] { (this->*h)(); }); });
    this->*c.Member = action;
  }
  connect(Window1, &QMenu::aboutToShow, this, [this] { FillWindowList(); });
}

// The Window menu lists the documents after its own items.
void TFrameForm::FillWindowList() {
  for (QAction* a : Window1->actions())
    if (a->property("windowEntry").toBool()) Window1->removeAction(a), a->deleteLater();
  int n = 0;
  for (QMdiSubWindow* w : MdiArea->subWindowList()) {
    const QString caption = ++n < 10 ? QString("&%1 %2").arg(n).arg(w->windowTitle()) : w->windowTitle();
    QAction* a = Window1->addAction(caption, this, [this, w] { MdiArea->setActiveSubWindow(w); });
    a->setProperty("windowEntry", true);
    a->setCheckable(true);
    a->setChecked(w == MdiArea->activeSubWindow());
  }
}

void TFrameForm::BuildToolBars() {
  ToolBar2 = addToolBar("Standard");
  ToolBar2->setObjectName("ToolBar2");
  addToolBarBreak();
  ToolBar1 = addToolBar("View");
  ToolBar1->setObjectName("ToolBar1");
  ComboBox1 = new QComboBox;
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setEditable(true);
  ComboBox1->setFixedWidth(73);
  for (int percent : {25, 50, 100, 200, 400, 800, 1600}) ComboBox1->addItem(QString("%1 %").arg(percent));
  SetZoomBoxText("100 %");
  connect(ComboBox1, &QComboBox::editTextChanged, this, [this] { RunCommand([this] { ComboBox1Change(); }); });
  const std::pair<QToolBar*, std::span<const char* const>> bars[] = {{ToolBar2, kToolBar2}, {ToolBar1, kToolBar1}};
  for (const auto& [bar, order] : bars) {
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(16, 16));
    for (const char* name : order) {
      if (!name) {
        bar->addSeparator();
      } else if (std::strcmp(name, "ComboBox1") == 0) {
        bar->addWidget(ComboBox1);
      } else {
        const TFrameCommand& c = CommandNamed(name);
        QAction* action = this->*c.Member;
        action->setToolTip(c.Hint);
        action->setStatusTip(c.Hint);
        bar->addAction(action);
        bar->widgetForAction(action)->setObjectName(c.Button);
      }
    }
  }
}

// ---- the refresh's enabling

void TFrameForm::ApplyEnableRules(const TEditForm* doc) {
  const TIEPixelFormat format = doc ? doc->ZiridEvView1->Bitmap().PixelFormat() : TIEPixelFormat::pf24bit;
  for (const TFrameCommand& c : kCommands) {
    if (!c.Name || c.Rule == R::erAlways || (!doc && c.Rule != R::erDocument)) continue;
    bool on = doc != nullptr;
    switch (c.Rule) {
      case R::erUndo: on = EditorState.UndoAvailable; break;
      case R::erSelection: on = EditorState.HasSelection; break;
      case R::erZoomIn: on = EditorState.CurrentZoom < 1600; break;
      case R::erZoomOut: on = EditorState.CurrentZoom > 25; break;
      case R::erColor24: on = format == TIEPixelFormat::pf24bit; break;
      case R::erBlackWhite: on = format == TIEPixelFormat::pf1bit; break;
      default: break;
    }
    (this->*c.Member)->setEnabled(on && c.Handler);
  }
}

}  // namespace quillet
