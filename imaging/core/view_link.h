// TIEViewLink: how a component is attached to an image: to a view, whose
// bitmap and alpha it follows until the view goes away, or to a bare bitmap.
#pragma once

#include "imaging/core/colors.h"
#include "imaging/core/ie_view.h"
#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

class TIEViewLink {
 public:
  TIEViewLink() = default;
  ~TIEViewLink() { Detach(); }
  TIEViewLink(const TIEViewLink&) = delete;
  TIEViewLink& operator=(const TIEViewLink&) = delete;

  TIEView* View() const { return view_; }
  TIEWorkingBitmap* Bitmap() const { return bitmap_; }
  // The view's alpha channel, or a plane given without a view.
  TIEMask* Alpha() const { return alpha_; }

  // Takes the view's bitmap and alpha and follows them; null detaches.
  void AttachView(TIEView* view);
  // A bare bitmap detaches the view; none while a view is attached is ignored.
  void AttachBitmap(TIEWorkingBitmap* bitmap);
  void SetAlpha(TIEMask* alpha) { alpha_ = alpha; }

  // The view's background while there is one, else the link's own.
  TBGR Background() const { return view_ ? view_->Background() : background_; }
  void SetBackground(TBGR color);

 private:
  void Detach();
  void Changed(TIEView* view, int kind);

  TIEView* view_ = nullptr;
  TIEWorkingBitmap* bitmap_ = nullptr;
  TIEMask* alpha_ = nullptr;
  TBGR background_ = kBlack;
};

}  // namespace quillet
