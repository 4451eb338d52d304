// The view base: resolution rules and the change-listener list, which
// callbacks may change while it is being walked.
#include "imaging/core/ie_view.h"

#include <algorithm>

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

void TIEView::AddChangeListener(TChangeCallback callback, const void* owner) {
  listeners_.push_back({std::move(callback), owner});
}

void TIEView::RemoveChangeListener(const void* owner) {
  const auto it = std::find_if(listeners_.begin(), listeners_.end(),
                               [&](const TListener& l) { return l.Callback && l.Owner == owner; });
  if (it == listeners_.end()) return;
  // While the list is walked a removed record is only emptied, so that the
  // walk neither skips nor calls it; it is dropped afterwards.
  if (notifying_ > 0)
    it->Callback = nullptr;
  else
    listeners_.erase(it);
}

int64_t TIEView::ChangeListenerCount() const {
  return std::count_if(listeners_.begin(), listeners_.end(), [](const TListener& l) { return bool(l.Callback); });
}

void TIEView::CallListeners(int kind) {
  ++notifying_;
  for (size_t i = 0; i < listeners_.size(); ++i) {
    // A copy: the callback may add records, which moves the list.
    const TChangeCallback callback = listeners_[i].Callback;
    if (callback) callback(this, kind);
  }
  if (--notifying_ == 0)
    std::erase_if(listeners_, [](const TListener& l) { return !l.Callback; });
}

void TIEView::NotifyChange() { CallListeners(kChangeImage); }

void TIEView::NotifyDestruction() {
  CallListeners(kChangeDestroyed);
  listeners_.clear();
}

}  // namespace quillet
