// A frame built directly (no splash wait), with its dialogs answered by the
// test instead of a user.
#pragma once

#include <QApplication>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTimer>

#include "app/edit_form.h"
#include "app/frame_form.h"
#include "app/new_image_dialog.h"
#include "imaging/proc/ui/previews_port.h"
#include "platform/qt_clipboard.h"

namespace quillet::test {

struct Editor {
  Editor() {
    // The editor's copy and paste go through the platform's clipboard, as in the program.
    static TQtClipboard clipboard;
    InstallSystemClipboard(&clipboard);
    InstallPreviewsDialog();
    frame.AskOpenFileName = [this] { return openName; };
    frame.AskSaveFileName = [this](const QString&) { return saveName; };
    frame.AskColor = [this](const QColor&) { return color; };
    frame.Warn = [this](const QString& text) { warnings << text; };
    frame.ConfirmClose = [this](const QString&) { ++confirmations; return closeAnswer; };
    frame.Confirm = [this](const QString& text) { questions << text; return confirmAnswer; };
    frame.OpenUrl = [this](const QUrl& url) { opened << url; return true; };
    frame.show();
  }

  // File > New with the dialog answered: w x h, colour or black and white.
  TEditForm* New(int w, int h, bool blackWhite = false) {
    frame.NewDialog->UpDown1->setValue(w);
    frame.NewDialog->UpDown2->setValue(h);
    frame.NewDialog->ComboBox2->setCurrentIndex(blackWhite ? 1 : 0);
    QTimer::singleShot(0, frame.NewDialog->Button1, &QPushButton::click);
    frame.New1Click();
    QApplication::processEvents();
    return frame.ActiveDocument();
  }

  int Documents() const { return int(frame.MdiArea->subWindowList().size()); }
  QStringList Captions() const {
    QStringList out;
    for (QMdiSubWindow* w : frame.MdiArea->subWindowList()) out << w->windowTitle();
    return out;
  }

  TFrameForm frame;
  QString openName, saveName;
  QColor color;
  QStringList warnings;
  int confirmations = 0;
  int closeAnswer = QMessageBox::Discard;
  QStringList questions;  // asked through Confirm
  bool confirmAnswer = true;
  QList<QUrl> opened;
};

}  // namespace quillet::test
