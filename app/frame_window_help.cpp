// The frame's Window and Help menus: arranging the documents, the help
// window, the maker's home page and the About box.
#include <QMdiSubWindow>

#include "app/about_box.h"
#include "app/file_filters.h"
#include "app/frame_form.h"
#include "app/help_form.h"

namespace quillet {

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

void TFrameForm::Contents1Click() { HelpForm->ShowContents(); }

void TFrameForm::BrenmorHomepage1Click() { OpenUrl(QUrl(kHomePage)); }

void TFrameForm::About1Click() { AboutBox->exec(); }

}  // namespace quillet
