// TIEViewGeometry: zoom, scrolling, centring, scroll bars and the client <->
// image mapping of an image view. The widget feeds it sizes and input events.
#pragma once

#include <cstdint>
#include <functional>

#include "imaging/core/view_params.h"
#include "imaging/proc/resample_filter.h"

namespace quillet {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// The Change argument of OnViewChange.
constexpr int kViewChangeScroll = 0;
constexpr int kViewChangeZoom = 1;

// Zooms above this (percent) are refused: they would overflow the client arithmetic.
constexpr double kMaxZoom = 1e6;

// One scroll bar as the widget shows it, over the fixed range 0..Range.
struct TIEScrollBarState {
  static constexpr int32_t Range = 65535;
  bool Visible = false;
  int32_t Page = 0, Position = 0;
  double Scale = 1;  // client pixels per scroll unit
  friend bool operator==(const TIEScrollBarState&, const TIEScrollBarState&) = default;
};

enum class TIEScrollBarKind { sbHorizontal, sbVertical };

enum class TIEScrollCode {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scThumbPosition,
  scThumbTrack,
  scTop,
  scBottom,
  scEndScroll
};

struct TIEViewPoint {
  int64_t X = 0, Y = 0;
  friend bool operator==(const TIEViewPoint&, const TIEViewPoint&) = default;
};

// The part of the image the painters show: Source* in image pixels, drawn at
// (OffsetX, OffsetY) into Dest* client pixels.
struct TIEVisibleSource {
  int64_t SourceLeft = 0, SourceTop = 0, SourceWidth = 0, SourceHeight = 0;
  int64_t DestWidth = 0, DestHeight = 0;
  friend bool operator==(const TIEVisibleSource&, const TIEVisibleSource&) = default;
};

class TIEViewGeometry {
 public:
  // --- what the widget tells -------------------------------------------
  // The control's outer size; updates.
  void SetBounds(int64_t width, int64_t height);
  // The frame drawn on each side inside the bounds, and the thickness a shown
  // scroll bar takes from the client area; both update.
  void SetFrameWidth(int64_t pixels);
  void SetScrollBarExtent(int64_t pixels);
  // The bitmap's size; call Update afterwards.
  void SetImageSize(int64_t width, int64_t height);

  int64_t ImageWidth() const { return imageWidth_; }
  int64_t ImageHeight() const { return imageHeight_; }
  // The client area: the bounds less the frame and the shown scroll bars.
  int64_t ViewWidth() const;
  int64_t ViewHeight() const;

  // --- options ---------------------------------------------------------
  bool Center() const { return center_; }
  void SetCenter(bool on);
  bool AutoFit() const { return autoFit_; }
  void SetAutoFit(bool on) { autoFit_ = on; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle style);
  TResampleFilter ZoomFilter() const { return zoomFilter_; }
  void SetZoomFilter(TResampleFilter filter);
  bool DelayZoomFilter() const { return delayZoomFilter_; }
  void SetDelayZoomFilter(bool on) { delayZoomFilter_ = on; }
  // Room Fit and AutoFit leave on each side (see FitMargins).
  void SetFitMargins(int64_t x, int64_t y);

  TIEScrollBarParams HScrollBarParams, VScrollBarParams;
  TIEMouseWheelParams MouseWheelParams;

  // --- state -----------------------------------------------------------
  double Zoom() const { return zoom_; }
  int64_t ViewX() const { return viewX_; }
  int64_t ViewY() const { return viewY_; }
  int64_t OffsetX() const { return offsetX_; }
  int64_t OffsetY() const { return offsetY_; }
  int64_t ZoomedWidth() const { return zoomedWidth_; }
  int64_t ZoomedHeight() const { return zoomedHeight_; }
  int64_t DisplayWidth() const { return displayWidth_; }
  int64_t DisplayHeight() const { return displayHeight_; }
  const TIEScrollBarState& ScrollBar(TIEScrollBarKind kind) const;

  // --- zoom and scrolling ----------------------------------------------
  // Recomputes zoom (AutoFit), view limits, scroll bars, zoomed and display
  // sizes and the centring offsets, then asks for a repaint.
  void Update();
  // Ignores z <= 0, z above kMaxZoom and the current zoom; keeps the image
  // point at the client centre in place.
  void SetZoom(double z);
  // Zooms to z and brings image pixel under client (x, y) to the centre.
  void ZoomAt(int64_t x, int64_t y, double z);
  // Zooms so that the whole image fits the control without scroll bars.
  void Fit();
  void SetViewX(int64_t x) { MoveView(x, viewY_); }
  void SetViewY(int64_t y) { MoveView(viewX_, y); }
  void SetViewXY(int64_t x, int64_t y) { MoveView(x, y); }
  // The largest ViewX and ViewY.
  TIEViewPoint MaxView() const;

  // A scroll-bar request; thumb is the bar's position for the thumb codes.
  void ScrollBarMessage(TIEScrollBarKind kind, TIEScrollCode code, int64_t thumb = 0);
  // A wheel turn of delta (positive: away from the user). False when the
  // widget should do its default handling.
  bool MouseWheel(int64_t delta);

  // --- coordinates -----------------------------------------------------
  int64_t BitmapToScreenX(int64_t x) const;
  int64_t BitmapToScreenY(int64_t y) const;
  int64_t ScreenToBitmapX(int64_t x) const;
  int64_t ScreenToBitmapY(int64_t y) const;
  TIEVisibleSource VisibleSource() const;

  // --- painting bookkeeping --------------------------------------------
  void LockPaint() { ++paintLock_; }
  // Updates when the lock count reaches 0.
  void UnlockPaint();
  void UnlockPaintNoUpdate();
  bool PaintLocked() const { return paintLock_ > 0; }
  bool NeedRepaint() const { return needRepaint_; }
  void SetNeedRepaint() { needRepaint_ = true; }
  void ClearNeedRepaint() { needRepaint_ = false; }
  // Paint unfiltered while this is set (right after a zoom or scroll).
  bool FilterDelayed() const { return filterCountdown_ > 0; }
  // Positive for two ticks after a zoom or scroll.
  int ScrollCountdown() const { return scrollCountdown_; }
  // The view's 210 ms timer: counts down, and updates (repainting with the
  // filter) when the delay is over.
  void TimerTick();

  // --- events ----------------------------------------------------------
  std::function<void(TIEViewGeometry* sender, int change)> OnViewChange;
  // The back buffer must be redrawn; the widget schedules a paint.
  std::function<void()> OnInvalidate;
  // Paint at once; only raised while painting is not locked.
  std::function<void()> OnPaintNow;
  // A scroll bar's state changed; the widget shows ScrollBar(kind).
  std::function<void()> OnScrollBarsChange;

 private:
  bool UpdatePass();
  void UpdateScrollBars();
  void UpdateThumbs();
  void MoveView(int64_t x, int64_t y);
  void StoreZoom(double z);
  void StartCountdowns();
  void PaintNow();
  void ViewChange(int change);
  // Inside the frame, without scroll bars.
  int64_t InnerWidth() const;
  int64_t InnerHeight() const;
  double FitZoom(int64_t width, int64_t height) const;
  bool HorizontalAllowed() const;
  bool VerticalAllowed() const;

  int64_t boundsWidth_ = 105, boundsHeight_ = 105, frame_ = 0, barExtent_ = 0;
  int64_t imageWidth_ = 0, imageHeight_ = 0;
  bool center_ = false, autoFit_ = false, delayZoomFilter_ = true;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  TResampleFilter zoomFilter_ = TResampleFilter::rfNone;
  int64_t marginX_ = 0, marginY_ = 0;

  double zoom_ = 100, z_ = 1, r_ = 1;
  int64_t viewX_ = 0, viewY_ = 0, offsetX_ = 0, offsetY_ = 0;
  int64_t zoomedWidth_ = 0, zoomedHeight_ = 0, displayWidth_ = 0, displayHeight_ = 0;
  TIEScrollBarState hBar_, vBar_;

  int paintLock_ = 0, filterCountdown_ = 0, scrollCountdown_ = 0;
  bool needRepaint_ = true;
};

}  // namespace quillet
