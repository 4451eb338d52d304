// TZiridEvView: the image view widget. It owns the image, its alpha channel
// and selection, feeds the view geometry with sizes and input in device
// pixels, and shows the back buffer the painters draw.
#pragma once

#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "imaging/core/ie_view.h"
#include "imaging/core/mask.h"
#include "imaging/core/working_bitmap.h"
#include "imaging/view/selection.h"
#include "imaging/view/selection_mouse.h"
#include "imaging/view/view_geometry.h"
#include "imaging/view/view_painter.h"

namespace quillet {

// The keys and buttons held during a mouse event.
enum TIEShiftItems : int { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };

class TZiridEvView : public QWidget, public TIEView {
  Q_OBJECT

 public:
  explicit TZiridEvView(QWidget* parent = nullptr);
  ~TZiridEvView() override;

  // --- the image ---------------------------------------------------------
  TIEWorkingBitmap& Bitmap() { return bitmap_; }
  TIEMask& AlphaChannel() { return alpha_; }
  TIEWorkingBitmap* GetBitmap() override { return &bitmap_; }
  TIEMask* GetAlphaChannel() override { return &alpha_; }
  TIEMask* GetSelectionMask() override { return selection_.SelectionExists() ? &selectionMask_ : nullptr; }
  // Recomputes the geometry for the bitmap (deselecting when its size
  // changed) and repaints.
  void Update();
  // The image's pixels changed in place: the shown part is painted again at
  // the next paint (requests arriving before it are served once).
  void InvalidateImage();
  // Raises OnImageChange and tells the change listeners.
  void ImageChange() override;
  void Clear();
  void Blank();
  // Another view's bitmap, alpha, background and resolution (none: Clear), or
  // a bitmap of any depth (kept at 1 or 24 bits, else made 24-bit).
  void Assign(const TZiridEvView* source);
  void Assign(const TIEWorkingBitmap& source);
  // The full painter onto any 24-bit target; only the shown part at (0, 0).
  void PaintTo(TIERawTarget& target) { painter_.PaintTo(target, geometry_, ViewImage(), options_); }
  void DrawVisibleTo(TIERawTarget& target) { painter_.DrawVisibleTo(target, geometry_, ViewImage()); }
  void SetBackground(TBGR color) override;

  // --- display -----------------------------------------------------------
  TIEViewGeometry& Geometry() { return geometry_; }
  double Zoom() const { return geometry_.Zoom(); }
  void SetZoom(double zoom) { geometry_.SetZoom(zoom); }
  void ZoomAt(int64_t x, int64_t y, double zoom) { geometry_.ZoomAt(x, y, zoom); }
  void Fit() { geometry_.Fit(); }
  TScrollStyle ScrollBars() const { return geometry_.ScrollBars(); }
  void SetScrollBars(TScrollStyle style);
  void SetCenter(bool on);
  void SetAutoFit(bool on);
  void SetZoomFilter(TResampleFilter filter) { geometry_.SetZoomFilter(filter); }
  void SetDelayZoomFilter(bool on) { geometry_.SetDelayZoomFilter(on); }
  int64_t ViewWidth() const { return geometry_.ViewWidth(); }
  int64_t ViewHeight() const { return geometry_.ViewHeight(); }
  // Stored only: painting always goes through the back buffer.
  bool DoubleBuffer = true;
  TIEBackgroundStyle BackgroundStyle() const { return options_.BackgroundStyle; }
  void SetBackgroundStyle(TIEBackgroundStyle style);
  bool EnableAlphaChannel() const { return options_.EnableAlphaChannel; }
  void SetEnableAlphaChannel(bool on);
  bool DisplayGrid() const { return options_.DisplayGrid; }
  void SetDisplayGrid(bool on);
  void SetChessboard(int64_t size, TIEBrushStyle style);
  void LockPaint() override { geometry_.LockPaint(); }
  void UnlockPaint() override { geometry_.UnlockPaint(); }
  void UnlockPaintNoUpdate() override { geometry_.UnlockPaintNoUpdate(); }
  // The widget's device pixels per logical pixel.
  double DeviceRatio() const { return devicePixelRatioF(); }

  // --- selection and mouse -------------------------------------------------
  TIESelection& Selection() { return selection_; }
  int MouseInteract() const { return mouse_.MouseInteract(); }
  void SetMouseInteract(int value);
  int SelectionOptions() const { return selection_.SelectionOptions(); }
  void SetSelectionOptions(int options);
  void SelectRectangle(int64_t x1, int64_t y1, int64_t x2, int64_t y2, bool add);
  void Deselect();
  void ShowSelection();
  void HideSelection();
  void SetSelectionColors(TBGR a, TBGR b);
  int Cursor() const { return mouse_.Cursor; }
  void SetCursor(int id);

  // The 210 ms timer: marching ants and the delayed filter.
  void TimerTick();

  std::function<void(TZiridEvView* sender, int change)> OnViewChange;
  std::function<void(TZiridEvView* sender)> OnImageChange, OnPaint, OnSelectionChange, OnSelectionChanging,
      OnMouseInSel;
  std::function<void(TZiridEvView* sender, int grip)> OnMouseInResizingGrip;
  // The mouse over the view, raised after the view's own gestures: client
  // points in device pixels, `shift` a set of TIEShiftItems. Moves arrive
  // with or without a button held.
  std::function<void(TZiridEvView* sender, TIEMouseButton button, int shift, int64_t x, int64_t y)> OnMouseDown,
      OnMouseUp;
  std::function<void(TZiridEvView* sender, int shift, int64_t x, int64_t y)> OnMouseMove;
  std::function<void(TZiridEvView* sender, double& zoom)> OnZoomIn, OnZoomOut;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  TIEViewImage ViewImage() const;
  void WireGeometry();
  void WireMouse();
  void WireScrollBar(QScrollBar* bar, TIEScrollBarKind kind);
  void SyncScrollBars();
  void LayoutScrollBars();
  void ShowCursor();
  TIEViewPoint DevicePoint(const QPointF& logical) const;
  void DrawAnts(TIERawTarget& target);
  void DrawGrips(class QPainter& painter);
  void DrawRubberBand(class QPainter& painter);

  TIEWorkingBitmap bitmap_;
  TIEMask alpha_, selectionMask_;
  TIEViewGeometry geometry_;
  TIEViewPainter painter_;
  TIEPaintOptions options_;
  TIESelection selection_{selectionMask_, geometry_};
  TIESelectionMouse mouse_{geometry_, selection_, bitmap_};
  QScrollBar* horizontal_;
  QScrollBar* vertical_;
  QTimer timer_, autoScroll_;
  std::vector<uint8_t> screen_;  // the back buffer with the ants over it
  int64_t wheelRest_ = 0;        // high-resolution wheel deltas short of a notch
  int screenCursor_ = -1;
  TIEViewPoint dragPoint_;
  bool dragging_ = false;
};

}  // namespace quillet
