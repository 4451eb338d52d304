#include "app/edit_form.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QVBoxLayout>
#include <utility>

#include "app/frame_form.h"
#include "imaging/core/math.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/format_table.h"

namespace quillet {

namespace {

const TBGR kTeal = MakeBGR(0, 128, 128);

}  // namespace

TEditForm::TEditForm(TFrameForm& frame, QWidget* parent) : QWidget(parent), frame_(frame) {
  // Every document window installs the coders again: the slots are the
  // process's, so the last writer wins and all write the same coders.
  InstallDefaultCoders();
  setObjectName("EditForm");
  setWindowTitle("Untitled");
  ZiridEvView1 = new TZiridEvView(this);
  ZiridEvView1->setObjectName("ZiridEvView1");
  ZiridEvView1->SetBackground(kTeal);
  ZiridEvView1->SetScrollBars(TScrollStyle::ssBoth);
  ZiridEvView1->SetCenter(false);
  ZiridEvView1->SetEnableAlphaChannel(true);  // transparent images show over the background
  ZiridEvView1->Selection().SelectionBase = TIESelectionBase::iesbBitmap;
  ZiridEvView1->OnViewChange = [this](TZiridEvView* v, int change) { ZiridEvView1ViewChange(v, change); };
  ZiridEvView1->OnSelectionChange = [this](TZiridEvView*) { ShowSelectionInfo(); };
  ZiridEvView1->OnMouseDown = [this](TZiridEvView* v, TIEMouseButton b, int shift, int64_t x, int64_t y) {
    ZiridEvView1MouseDown(v, b, shift, x, y);
  };
  ZiridEvView1->OnMouseMove = [this](TZiridEvView* v, int shift, int64_t x, int64_t y) {
    ZiridEvView1MouseMove(v, shift, x, y);
  };
  ZiridEvView1->OnMouseUp = [this](TZiridEvView* v, TIEMouseButton b, int shift, int64_t x, int64_t y) {
    ZiridEvView1MouseUp(v, b, shift, x, y);
  };
  ZiridEvIO1.SetAttachedZiridEv(ZiridEvView1);
  ZiridEvProc1.SetAttachedZiridEv(ZiridEvView1);
  ZiridEvProc1.AutoUndo = false;  // the window keeps its own undo copy
  // Long reads, writes and operations show in the frame's status bar; Esc stops them.
  ZiridEvIO1.OnProgress = [this](TZiridEvIO* io, int per) {
    if (frame_.Progress->Step(per)) io->Aborting = true;
  };
  ZiridEvProc1.OnProgress = [this](TZiridEvProc* proc, int per) {
    if (frame_.Progress->Step(per)) proc->Aborting = true;
  };

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  const int widths[4] = {0, 180, 150, 50};
  for (int i = 0; i < 4; ++i) {
    StatusPanel[i] = new QLabel(StatusBar1);
    StatusPanel[i]->setObjectName(QString("StatusPanel%1").arg(i));
    StatusPanel[i]->setMinimumWidth(widths[i]);
    StatusBar1->addWidget(StatusPanel[i], i == 3 ? 1 : 0);
  }
  StatusPanel[0]->hide();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ZiridEvView1, 1);
  layout->addWidget(StatusBar1);
  TextTimer.setObjectName("TextTimer");
  TextTimer.setInterval(200);
  connect(&TextTimer, &QTimer::timeout, this, [this] { TextTimerTimer(); });
  resize(418, 242);
  FormCreate();
}

TEditForm::~TEditForm() = default;

void TEditForm::FormCreate() {
  InstallDefaultCoders();
  const TCreationMode mode = std::exchange(frame_.EditorState.PendingCreation, TCreationMode::cmNone);
  UndoBitmap = TIEWorkingBitmap();
  UndoAvailable = false;
  frame_.EditorState.UndoAvailable = false;
  FileName = "Untitled";
  ZiridEvView1->SetZoom(100);
  frame_.SetZoomBoxText("100 %");
  ZiridEvView1->SetDisplayGrid(true);
  FillImage(mode);
  MarkSaved();
}

void TEditForm::FillImage(TCreationMode mode) {
  const TEditorState& state = frame_.EditorState;
  switch (mode) {
    case TCreationMode::cmOpen:
      OpenFile(state.OpenFileName);
      break;
    case TCreationMode::cmNew: {
      TIEWorkingBitmap fresh;
      fresh.Resize(state.NewImageWidth, state.NewImageHeight, state.NewImageFormat);
      fresh.Fill(kWhite);
      ZiridEvView1->Assign(fresh);
      if (state.NewImageFormat == TIEPixelFormat::pf1bit) {
        // saved as a black and white file, as created
        ZiridEvIO1.Params.BitsPerSample = 1;
        ZiridEvIO1.Params.SamplesPerPixel = 1;
      }
      ShowImageInfo();
      break;
    }
    case TCreationMode::cmFromClipboard:
      ZiridEvProc1.PasteFromClipboard();
      ShowImageInfo();
      break;
    default:  // acquiring arrives with the scanner
      break;
  }
}

// A file that cannot be read leaves no window claiming its name, so that no
// later Save can overwrite it with whatever the failed read left.
void TEditForm::OpenFile(const std::string& fileName) {
  {
    const TWorkProgress::TScope busy(*frame_.Progress);
    ZiridEvIO1.LoadFromFile(fileName);
  }
  // A file without the image asked for (a GIF with none at all) is as unreadable as a damaged one.
  const std::string missing = ZiridEvIO1.Aborting ? "" : MissingImageText(ZiridEvIO1.Params);
  if (!missing.empty()) ZiridEvIO1.LastError = missing;
  CreationFailed = ZiridEvIO1.Aborting || !missing.empty();
  if (!CreationFailed) {
    FileName = fileName;
    ShowImageInfo();
  } else if (!frame_.Progress->Cancelled()) {  // the user knows about a cancel
    frame_.Warn(QString("Cannot open %1: %2")
                    .arg(QString::fromStdString(fileName), QString::fromStdString(ZiridEvIO1.LastError)));
  }
}

void TEditForm::ShowImageInfo() {
  const TIEWorkingBitmap& b = ZiridEvView1->Bitmap();
  StatusPanel[1]->setText(QString("%1x%2 pixels  %3 dpi").arg(b.Width()).arg(b.Height()).arg(ZiridEvView1->DpiX()));
}

// The size in pixels of the selection's inclusive box, as Crop would cut it.
void TEditForm::ShowSelectionInfo() {
  const TIESelection& s = ZiridEvView1->Selection();
  frame_.EditorState.HasSelection = s.SelectionExists();
  StatusPanel[3]->setText(s.SelectionExists() ? QString("Selected: %1x%2")
                                                    .arg(s.SelectionRight() - s.SelectionLeft() + 1)
                                                    .arg(s.SelectionBottom() - s.SelectionTop() + 1)
                                              : QString(" "));
}

void TEditForm::FormActivate() {
  TEditorState& state = frame_.EditorState;
  state.CurrentZoom = int32_t(Trunc(ZiridEvView1->Zoom()));
  frame_.SetZoomBoxText(QString("%1 %").arg(state.CurrentZoom));
  state.UndoAvailable = UndoAvailable;
  state.HasSelection = ZiridEvView1->Selection().SelectionExists();
}

void TEditForm::ZiridEvView1ViewChange(TZiridEvView*, int) {
  ZoomWindowPending = false;
  ZoomDone();
  ZiridEvView1->SetMouseInteract(0);
}

void TEditForm::ZoomDone() {
  frame_.EditorState.CurrentZoom = int32_t(Trunc(ZiridEvView1->Zoom()));
  frame_.SetZoomBoxText(QString("%1 %").arg(frame_.EditorState.CurrentZoom));
}

// ---- zoom

void TEditForm::ZoomIn() {
  if (ZiridEvView1->Zoom() >= 1600) return;
  ZiridEvView1->SetZoom(double(Trunc(ZiridEvView1->Zoom()) * 2));
  ZoomDone();
}

void TEditForm::ZoomOut() {
  if (ZiridEvView1->Zoom() <= 25) return;
  ZiridEvView1->SetZoom(double(Trunc(ZiridEvView1->Zoom()) / 2));
  ZoomDone();
}

// The ratios are kept as 32-bit floats, so that 0.38 fits at 37 %.
void TEditForm::ZoomFit() {
  const TIEWorkingBitmap& b = ZiridEvView1->Bitmap();
  if (b.Empty()) return;
  const float rw = float((long double)ZiridEvView1->ViewWidth() / b.Width());
  const float rh = float((long double)ZiridEvView1->ViewHeight() / b.Height());
  const int64_t z = Trunc(100 * double(std::min(rw, rh)));
  ZiridEvView1->SetZoom(double(z));
  frame_.EditorState.CurrentZoom = int32_t(z);
  frame_.SetZoomBoxText(QString("%1 %").arg(z));
}

void TEditForm::ZoomWindow() {
  if (ZiridEvView1->Bitmap().Empty()) return;
  ZiridEvView1->SetMouseInteract(miZoom | miSelectZoom);
  ZoomWindowPending = true;
}

// ---- undo, selection, saving

void TEditForm::SaveUndoCopy() {
  UndoBitmap = ZiridEvView1->Bitmap();
  UndoAvailable = true;
  frame_.EditorState.UndoAvailable = true;
}

void TEditForm::Undo() {
  ZiridEvView1->Assign(UndoBitmap);
  UndoAvailable = false;
  frame_.EditorState.UndoAvailable = false;
  ShowImageInfo();
}

void TEditForm::SelectAll() {
  const TIEWorkingBitmap& b = ZiridEvView1->Bitmap();
  ZiridEvView1->SelectRectangle(0, 0, b.Width(), b.Height(), false);
  ShowSelectionInfo();
}

void TEditForm::DeSelect() {
  ZiridEvView1->Deselect();
  ShowSelectionInfo();
}

// ---- image commands

// An operation stopped with Esc, like one that failed, leaves the image as it was.
void TEditForm::RunOperation(const std::function<void()>& operation, bool showInfo) {
  SaveUndoCopy();
  ZiridEvProc1.Aborting = false;  // a stop asked of an earlier operation is not this one's
  try {
    const TWorkProgress::TScope busy(*frame_.Progress);
    operation();
  } catch (...) {
    Undo();
    throw;
  }
  if (frame_.Progress->Cancelled()) Undo();
  if (showInfo) ShowImageInfo();
  ShowSelectionInfo();
}

void TEditForm::MirrorHor() { RunOperation([this] { ZiridEvProc1.Flip(TFlipDirection::fdHorizontal); }, true); }
void TEditForm::MirrorVer() { RunOperation([this] { ZiridEvProc1.Flip(TFlipDirection::fdVertical); }, true); }
void TEditForm::Rotate90() { RunOperation([this] { ZiridEvProc1.Rotate(90, false); }, true); }
void TEditForm::Rotate180() { RunOperation([this] { ZiridEvProc1.Rotate(180, false); }, true); }
void TEditForm::Rotate270() { RunOperation([this] { ZiridEvProc1.Rotate(270, false); }, true); }
void TEditForm::Clear() { RunOperation([this] { ZiridEvProc1.Clear(); }, false); }
void TEditForm::Negative() { RunOperation([this] { ZiridEvProc1.Negative(); }, false); }
void TEditForm::ConvertToGray() { RunOperation([this] { ZiridEvProc1.ConvertToGray(); }, false); }
void TEditForm::ConvertTo24Bit() { RunOperation([this] { ZiridEvProc1.ConvertTo24Bit(); }, true); }
void TEditForm::AutoEqualize() { RunOperation([this] { ZiridEvProc1.HistAutoEqualize(); }, false); }

void TEditForm::ShowPreviewPage(TPreviewPages page) {
  SaveUndoCopy();
  // The dialog shows the progress of its pass itself, and takes input meanwhile.
  struct TRestore {
    TZiridEvProc& Proc;
    decltype(TZiridEvProc::OnProgress) Progress;
    ~TRestore() { Proc.OnProgress = std::move(Progress); }
  } restore{ZiridEvProc1, std::exchange(ZiridEvProc1.OnProgress, nullptr)};
  if (ZiridEvProc1.ShowPreviews(page)) ShowImageInfo();
}

void TEditForm::Equalize() { ShowPreviewPage(ppEqualize); }
void TEditForm::Contrast() { ShowPreviewPage(ppContrast); }
void TEditForm::RGB() { ShowPreviewPage(ppRGB); }
void TEditForm::HSV() { ShowPreviewPage(ppHSV); }
void TEditForm::HSL() { ShowPreviewPage(ppHSL); }
void TEditForm::BumpMap() { ShowPreviewPage(ppBumpMap); }
void TEditForm::Lens() { ShowPreviewPage(ppLens); }
void TEditForm::Wave() { ShowPreviewPage(ppWave); }
void TEditForm::Morph() { ShowPreviewPage(ppMorph); }
void TEditForm::UserFilter() { ShowPreviewPage(ppUserFilter); }

// ---- clipboard commands

void TEditForm::PasteAsNew() {
  if (!frame_.ClipboardHasBitmap()) return;
  SaveUndoCopy();
  ZiridEvProc1.Clear();
  ZiridEvProc1.PasteFromClipboard();
  ShowImageInfo();
}

void TEditForm::PasteToSel() {
  if (!frame_.ClipboardHasBitmap() || !ZiridEvView1->Selection().SelectionExists()) return;
  SaveUndoCopy();
  ZiridEvProc1.SelPasteFromClipStretch();
}

// The selection's box goes out through the clipboard and comes back as the
// whole image; the clipboard keeps it.
void TEditForm::Crop() {
  if (!ZiridEvView1->Selection().SelectionExists()) return;
  SaveUndoCopy();
  ZiridEvProc1.SelCopyToClipboard();
  ZiridEvProc1.PasteFromClipboard();
  ShowImageInfo();
  ZiridEvView1->Deselect();  // also when the box was the whole image
  ShowSelectionInfo();
}

void TEditForm::MarkSaved() { savedChanges_ = ZiridEvView1->Bitmap().ChangeCount(); }

bool TEditForm::Modified() const { return ZiridEvView1->Bitmap().ChangeCount() != savedChanges_; }

void TEditForm::Save() {
  const QString proposed = FileName == "Untitled" ? windowTitle() + ".bmp" : QString::fromStdString(FileName);
  const QString file = frame_.AskSaveFileName(proposed);
  if (file.isEmpty() || !MayReplace(file)) return;
  {
    const TWorkProgress::TScope busy(*frame_.Progress);
    ZiridEvIO1.SaveToFile(file.toStdString());
  }
  // A failed or cancelled write leaves the file as it was; only a failure is news.
  if (ZiridEvIO1.Aborting) {
    if (!frame_.Progress->Cancelled())
      frame_.Warn(QString("Cannot save %1: %2").arg(file, QString::fromStdString(ZiridEvIO1.LastError)));
    return;
  }
  FileName = file.toStdString();
  setWindowTitle(file);
  if (parentWidget()) parentWidget()->setWindowTitle(file);
  MarkSaved();
}

// A TIFF file of several pages is replaced by one image only when the user says so.
bool TEditForm::MayReplace(const QString& file) {
  const std::string name = file.toStdString();
  if (FileTypeOfName(name) != ftTIFF) return true;
  const int pages = TZiridEvIO::CountTiffImages(name);
  return pages < 2 ||
         frame_.Confirm(QString("%1 holds %2 pages. Replace it with this one image?").arg(file).arg(pages));
}

// A changed image is not lost without asking.
void TEditForm::closeEvent(QCloseEvent* e) {
  if (Modified()) {
    const int answer = frame_.ConfirmClose(windowTitle());
    if (answer == QMessageBox::Cancel) return e->ignore();
    if (answer == QMessageBox::Save) {
      Save();
      if (Modified()) return e->ignore();  // not saved after all
    }
  }
  UndoBitmap = TIEWorkingBitmap();
  DropPendingText();
  e->accept();
}

}  // namespace quillet
