// The view base: the button face and the screen's resolution by default,
// and the rules for changing the resolution.
#include "imaging/core/ie_view.h"

#include "imaging/core/engine_settings.h"
#include "imaging/core/system_colors.h"

namespace quillet {

TIEView::TIEView()
    : background_(ViewSystemColors().ButtonFace), dpiX_(StartupMetrics().DpiX), dpiY_(StartupMetrics().DpiY) {}

TIEView::~TIEView() { NotifyDestruction(); }

void TIEView::SetDpiX(int dpi) {
  if (dpi > 0) dpiX_ = dpi;
}

void TIEView::SetDpiY(int dpi) {
  if (dpi > 0) dpiY_ = dpi;
}

void TIEView::SetDpi(int dpiX, int dpiY) {
  SetDpiX(dpiX);
  SetDpiY(dpiY);
}

}  // namespace quillet
