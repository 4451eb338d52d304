#include "imaging/core/view_link.h"

namespace quillet {

void TIEViewLink::Detach() {
  if (view_) view_->RemoveChangeListener(this);
  view_ = nullptr;
}

void TIEViewLink::AttachView(TIEView* view) {
  if (view == view_) return;
  Detach();
  view_ = view;
  bitmap_ = view ? view->GetBitmap() : nullptr;
  alpha_ = view ? view->GetAlphaChannel() : nullptr;
  if (view) view->AddChangeListener([this](TIEView* v, int kind) { Changed(v, kind); }, this);
}

// The view replaced its bitmap or alpha channel, or is going away.
void TIEViewLink::Changed(TIEView* view, int kind) {
  if (kind == TIEView::kChangeDestroyed) {
    view_ = nullptr;
    bitmap_ = nullptr;
    alpha_ = nullptr;
    return;
  }
  bitmap_ = view->GetBitmap();
  alpha_ = view->GetAlphaChannel();
}

void TIEViewLink::AttachBitmap(TIEWorkingBitmap* bitmap) {
  if (!bitmap && view_) return;
  Detach();
  bitmap_ = bitmap;
  alpha_ = nullptr;
}

void TIEViewLink::SetBackground(TBGR color) {
  if (view_) view_->SetBackground(color);
  else background_ = color;
}

}  // namespace quillet
