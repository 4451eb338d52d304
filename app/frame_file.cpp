// The frame's File menu: new, new from the clipboard, open (also files given
// on the command line or dropped on the frame), save and exit.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "app/edit_form.h"
#include "app/frame_form.h"
#include "app/new_image_dialog.h"
#include "imaging/proc/clipboard.h"

namespace quillet {

void TFrameForm::New1Click() {
  if (NewDialog->exec() != QDialog::Accepted) return;
  EditorState.PendingCreation = TCreationMode::cmNew;
  CreateDocument(UntitledCaption());
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

void TFrameForm::Open1Click() {
  const QString file = AskOpenFileName();
  if (!file.isEmpty()) OpenDocument(file);
}

void TFrameForm::OpenDocument(const QString& fileName) {
  EditorState.PendingCreation = TCreationMode::cmOpen;
  EditorState.OpenFileName = fileName.toStdString();
  CreateDocument(fileName);
  SetZoomBoxText("100 %");
}

void TFrameForm::SaveAs1Click() { Doc(&TEditForm::Save); }

void TFrameForm::Exit1Click() { close(); }

namespace {

QStringList LocalFiles(const QMimeData* data) {
  QStringList files;
  if (data)
    for (const QUrl& url : data->urls())
      if (url.isLocalFile()) files << url.toLocalFile();
  return files;
}

}  // namespace

void TFrameForm::dragEnterEvent(QDragEnterEvent* e) {
  if (!LocalFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void TFrameForm::dropEvent(QDropEvent* e) {
  const QStringList files = LocalFiles(e->mimeData());
  if (files.isEmpty()) return;
  e->acceptProposedAction();
  for (const QString& file : files) RunCommand([this, &file] { OpenDocument(file); });
}

}  // namespace quillet
