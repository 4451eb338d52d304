#include "app/frame_form.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include "app/about_box.h"
#include "app/convert_bw_form.h"
#include "app/edit_form.h"
#include "app/file_filters.h"
#include "app/help_form.h"
#include "app/new_image_dialog.h"
#include "app/resize_form.h"
#include "app/rotate_form.h"
#include "app/text_form.h"
#include "imaging/core/failure_guard.h"

namespace quillet {

namespace {

const QColor kTeal(0, 128, 128);

}  // namespace

TFrameForm::TFrameForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("FrameForm");
  setWindowTitle("Brenmor Quillet 5.1");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setAcceptDrops(true);
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
  for (QWidget* panel : std::initializer_list<QWidget*>{DrawPanel, ArtDrawPanel, BrushPanel, TextPanel, VideoPanel})
    column->addWidget(panel);
  column->addWidget(MdiArea, 1);
  setCentralWidget(central);
  // The hidden windows, in the order the editor makes them at start-up.
  AboutBox = new TAboutBox(this);
  NewDialog = new TNew(EditorState, this);
  ResizeForm = new TResizeForm(EditorState, this);
  ConvertBW = new TConvertBW(*this);
  RotateForm = new TRotateForm(*this);
  TextForm = new TTextForm(EditorState, this);
  HelpForm = new THelpForm(this);
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
    return QFileDialog::getOpenFileName(this, "Open", {}, OpenFilter(), nullptr,
                                        QFileDialog::DontUseNativeDialog);
  };
  AskSaveFileName = [this](const QString& proposed) {
    return QFileDialog::getSaveFileName(this, "Save", proposed, SaveFilter(), nullptr,
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
  Confirm = [this](const QString& text) {
    return QMessageBox::question(this, "Confirmation", text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
  };
  OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

// ---- construction

void TFrameForm::BuildToolPanel() {
  ToolPanel = new TToolPanel;
  addToolBar(Qt::LeftToolBarArea, ToolPanel);
  ToolPanel->BasicColor->OnDblClick = [this] { BasicColorDblClick(); };
  ToolPanel->AddColor->OnDblClick = [this] { AddColorDblClick(); };
  // A tool acts from its first press on, not from the next refresh.
  connect(ToolPanel->ToolGroup, &QButtonGroup::buttonToggled, this, [this] { Timer1Timer(); });
}

void TFrameForm::BuildOptionPanels() {
  DrawPanel = new TDrawPanel;
  ArtDrawPanel = new TArtDrawPanel;
  BrushPanel = new TBrushPanel;
  TextPanel = new TTextPanel;
  connect(DrawPanel->ComboBox2, &QComboBox::currentTextChanged, this, [this] { ComboBox2Change(); });
  connect(ArtDrawPanel->ComboBox3, &QComboBox::currentIndexChanged, this, [this] { ComboBox2Change(); });
  connect(DrawPanel->ComboBox4, &QComboBox::currentIndexChanged, this, [this] { ComboBox4Change(); });
  connect(TextPanel->ComboBox6, &QComboBox::currentIndexChanged, this, [this] { ComboBox6Click(); });
  // The video controls arrive with video import; the panel shows only while Video is down.
  VideoPanel = new TOptionPanel("VideoPanel", 132);
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
  Progress = new TWorkProgress(StatusBar1);
  setStatusBar(StatusBar1);
}

// ---- events

void TFrameForm::FormCreate() {
  EditorState = TEditorState();
  TextPanel->FillFonts();
  TextPanel->ComboBox7->setCurrentIndex(0);
  ArtDrawPanel->ComboBox3->setCurrentIndex(0);
  ComboBox2Change();
  ComboBox4Change();
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
  HelpForm->close();
  e->accept();
}

void TFrameForm::RunCommand(const std::function<void()>& command) {
  const std::optional<std::string> failure = FailureOf(command);
  if (failure == kOutOfMemory)
    Warn("Not enough memory for this command.");
  else if (failure)
    Warn(QString("The command failed: %1").arg(QString::fromStdString(*failure)));
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
  if (form->CreationFailed) {
    // The window never showed; the active one takes back the shared state.
    delete form;
    if (TEditForm* active = ActiveDocument()) active->FormActivate();
    return nullptr;
  }
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

void TFrameForm::Doc(void (TEditForm::*command)()) {
  if (TEditForm* doc = ActiveDocument()) (doc->*command)();
}

// ---- tool panel

void TFrameForm::BasicColorDblClick() {
  const QColor chosen = AskColor(ToolPanel->BasicColor->Color());
  if (chosen.isValid()) ToolPanel->BasicColor->SetColor(chosen);
}

void TFrameForm::AddColorDblClick() {
  const QColor chosen = AskColor(ToolPanel->AddColor->Color());
  if (chosen.isValid()) ToolPanel->AddColor->SetColor(chosen);
}

}  // namespace quillet
