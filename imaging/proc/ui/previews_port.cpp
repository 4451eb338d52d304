#include "imaging/proc/ui/previews_port.h"

#include <QApplication>
#include <memory>

#include "imaging/proc/ui/previews_form.h"

namespace quillet {

namespace {

class TPreviewsDialog : public TIEPreviewsPort {
 public:
  bool Run(TZiridEvProc& proc, TPreviewPages pages, TIEWorkingBitmap& area) override {
    auto form = std::make_unique<TfPreviews>(proc, pages, area, QApplication::activeWindow());
    if (proc.OnPreview) proc.OnPreview(&proc, form.get());
    if (form->exec() != QDialog::Accepted) return false;
    area = form->Source();
    return true;
  }
};

}  // namespace

void InstallPreviewsDialog() {
  static TPreviewsDialog dialog;
  InstallPreviewsPort(&dialog);
}

}  // namespace quillet
