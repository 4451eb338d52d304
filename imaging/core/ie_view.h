// TIEView: what every image view has apart from its window: the
// background colour, the resolution and the list of change listeners.
#pragma once

#include <cstdint>

#include "imaging/core/colors.h"
#include "imaging/core/listener_list.h"
#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

class TIEView {
 public:
  // A listener's kind argument.
  static constexpr int kChangeImage = 0;
  static constexpr int kChangeDestroyed = 1;
  using TChangeCallback = TIEListenerList<TIEView*, int>::TCallback;

  // Background is the button face, the resolution the screen's.
  TIEView();
  virtual ~TIEView();
  TIEView(const TIEView&) = delete;
  TIEView& operator=(const TIEView&) = delete;

  TBGR Background() const { return background_; }
  virtual void SetBackground(TBGR color) { background_ = color; }

  virtual TIEWorkingBitmap* GetBitmap() { return nullptr; }
  virtual TIEMask* GetAlphaChannel() { return nullptr; }
  // The 1-bit selection plane while a selection exists, else null.
  virtual TIEMask* GetSelectionMask() { return nullptr; }
  virtual void LockPaint() = 0;
  virtual void UnlockPaint() = 0;
  virtual void UnlockPaintNoUpdate() = 0;

  int DpiX() const { return dpiX_; }
  int DpiY() const { return dpiY_; }
  // Values below 1 leave the resolution as it is.
  virtual void SetDpiX(int dpi);
  virtual void SetDpiY(int dpi);
  virtual void SetDpi(int dpiX, int dpiY);

  virtual void ImageChange() {}

  // Appends (callback, owner). The owner identifies the record for removal.
  void AddChangeListener(TChangeCallback callback, const void* owner) { listeners_.Add(std::move(callback), owner); }
  // Removes the first record of owner; safe from inside a callback.
  void RemoveChangeListener(const void* owner) { listeners_.Remove(owner); }
  int64_t ChangeListenerCount() const { return listeners_.Count(); }
  // Calls every callback with (this, kChangeImage).
  void NotifyChange() { listeners_.Call(this, kChangeImage); }
  // Calls every callback with (this, kChangeDestroyed) and empties the list.
  // The most derived view calls it first thing in its destructor, so that
  // listeners still see a whole view; the base destructor calls it otherwise.
  void NotifyDestruction() { listeners_.CallLast(this, kChangeDestroyed); }

 private:
  TBGR background_;
  int dpiX_, dpiY_;
  TIEListenerList<TIEView*, int> listeners_;
};

}  // namespace quillet
