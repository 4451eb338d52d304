#include "imaging/proc/previews.h"

namespace quillet {

namespace {

TIEPreviewsPort* installed = nullptr;

}  // namespace

TIEPreviewsPort* PreviewsPort() { return installed; }

void InstallPreviewsPort(TIEPreviewsPort* port) { installed = port; }

}  // namespace quillet
