#include "imaging/view/qt/ziridev_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWheelEvent>
#include <cstring>

#include "imaging/core/math.h"
#include "imaging/view/qt/view_cursors.h"
#include "imaging/view/view_planes.h"

namespace quillet {

namespace {

TIEMouseButton ButtonOf(Qt::MouseButton button) {
  if (button == Qt::RightButton) return TIEMouseButton::mbRight;
  if (button == Qt::MiddleButton) return TIEMouseButton::mbMiddle;
  return TIEMouseButton::mbLeft;
}

bool Shift(const QInputEvent* e) { return e->modifiers() & Qt::ShiftModifier; }
bool Alt(const QInputEvent* e) { return e->modifiers() & Qt::AltModifier; }

int ShiftState(const QMouseEvent* e) {
  const Qt::KeyboardModifiers keys = e->modifiers();
  const Qt::MouseButtons buttons = e->buttons();
  return (keys & Qt::ShiftModifier ? ssShift : 0) | (keys & Qt::AltModifier ? ssAlt : 0) |
         (keys & Qt::ControlModifier ? ssCtrl : 0) | (buttons & Qt::LeftButton ? ssLeft : 0) |
         (buttons & Qt::RightButton ? ssRight : 0) | (buttons & Qt::MiddleButton ? ssMiddle : 0);
}

// The scroll request of a scroll bar action, or none.
std::optional<TIEScrollCode> CodeOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return TIEScrollCode::scLineUp;
    case QAbstractSlider::SliderSingleStepAdd: return TIEScrollCode::scLineDown;
    case QAbstractSlider::SliderPageStepSub: return TIEScrollCode::scPageUp;
    case QAbstractSlider::SliderPageStepAdd: return TIEScrollCode::scPageDown;
    case QAbstractSlider::SliderToMinimum: return TIEScrollCode::scTop;
    case QAbstractSlider::SliderToMaximum: return TIEScrollCode::scBottom;
    default: return std::nullopt;
  }
}

}  // namespace

TZiridEvView::TZiridEvView(QWidget* parent)
    : QWidget(parent),
      horizontal_(new QScrollBar(Qt::Horizontal, this)),
      vertical_(new QScrollBar(Qt::Vertical, this)) {
  alpha_.Allocate(0, 0, 8);
  selectionMask_.Allocate(0, 0, 1);
  options_.Background = Background();
  horizontal_->hide();
  vertical_->hide();
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  WireGeometry();
  WireMouse();
  WireScrollBar(horizontal_, TIEScrollBarKind::sbHorizontal);
  WireScrollBar(vertical_, TIEScrollBarKind::sbVertical);
  timer_.setInterval(210);
  connect(&timer_, &QTimer::timeout, this, [this] { TimerTick(); });
  timer_.start();
  autoScroll_.setInterval(40);
  connect(&autoScroll_, &QTimer::timeout, this, [this] {
    mouse_.MouseMove(true, false, false, dragPoint_.X, dragPoint_.Y);
  });
  resize(105, 105);
  ShowCursor();
}

TZiridEvView::~TZiridEvView() { NotifyDestruction(); }

void TZiridEvView::WireGeometry() {
  geometry_.OnInvalidate = [this] { update(); };
  geometry_.OnPaintNow = [this] { repaint(); };
  geometry_.OnScrollBarsChange = [this] { SyncScrollBars(); };
  geometry_.OnViewChange = [this](TIEViewGeometry*, int change) {
    SyncScrollBars();
    if (OnViewChange) OnViewChange(this, change);
  };
}

void TZiridEvView::WireMouse() {
  auto forward = [this](std::function<void(TZiridEvView*)>& event) {
    return [this, &event] {
      if (event) event(this);
    };
  };
  mouse_.OnSelectionChange = forward(OnSelectionChange);
  mouse_.OnSelectionChanging = forward(OnSelectionChanging);
  mouse_.OnMouseInSel = forward(OnMouseInSel);
  mouse_.OnRepaint = [this] { update(); };
  mouse_.OnFocus = [this] { setFocus(Qt::MouseFocusReason); };
  mouse_.OnMouseInResizingGrip = [this](int grip) {
    if (OnMouseInResizingGrip) OnMouseInResizingGrip(this, grip);
  };
  mouse_.OnZoomIn = [this](double& z) {
    if (OnZoomIn) OnZoomIn(this, z);
  };
  mouse_.OnZoomOut = [this](double& z) {
    if (OnZoomOut) OnZoomOut(this, z);
  };
  mouse_.OnScreenCursor = [this](int cursor) {
    screenCursor_ = cursor;
    ShowCursor();
  };
}

void TZiridEvView::WireScrollBar(QScrollBar* bar, TIEScrollBarKind kind) {
  connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, kind](int action) {
    const std::optional<TIEScrollCode> code = CodeOf(action);
    if (!code) return;
    geometry_.ScrollBarMessage(kind, *code);
    bar->setSliderPosition(geometry_.ScrollBar(kind).Position);
  });
  connect(bar, &QAbstractSlider::sliderMoved, this,
          [this, kind](int position) { geometry_.ScrollBarMessage(kind, TIEScrollCode::scThumbTrack, position); });
  connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar, kind] {
    geometry_.ScrollBarMessage(kind, TIEScrollCode::scEndScroll, bar->sliderPosition());
  });
}

void TZiridEvView::SyncScrollBars() {
  for (const auto& [bar, kind] : {std::pair{horizontal_, TIEScrollBarKind::sbHorizontal},
                                  std::pair{vertical_, TIEScrollBarKind::sbVertical}}) {
    const TIEScrollBarState& state = geometry_.ScrollBar(kind);
    const QSignalBlocker block(bar);
    // Positions run over 0..Range with the page inside, so the last is Range + 1 - Page.
    bar->setRange(0, std::max(0, TIEScrollBarState::Range + 1 - state.Page));
    bar->setPageStep(std::max(1, state.Page));
    bar->setValue(state.Position);
    bar->setVisible(state.Visible);
  }
  LayoutScrollBars();
}

void TZiridEvView::LayoutScrollBars() {
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int right = vertical_->isVisibleTo(this) ? extent : 0;
  const int bottom = horizontal_->isVisibleTo(this) ? extent : 0;
  horizontal_->setGeometry(0, height() - extent, width() - right, extent);
  vertical_->setGeometry(width() - extent, 0, extent, height() - bottom);
}

void TZiridEvView::resizeEvent(QResizeEvent*) {
  const double ratio = DeviceRatio();
  geometry_.SetScrollBarExtent(Round(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) * ratio));
  geometry_.SetBounds(Round(width() * ratio), Round(height() * ratio));
  LayoutScrollBars();
}

void TZiridEvView::Update() {
  if (FollowBitmapSize(bitmap_, selectionMask_, alpha_)) selection_.Deselect();
  geometry_.SetImageSize(bitmap_.Width(), bitmap_.Height());
  geometry_.Update();
}

void TZiridEvView::InvalidateImage() {
  geometry_.SetNeedRepaint();
  update();
}

void TZiridEvView::ImageChange() {
  Update();
  if (OnImageChange) OnImageChange(this);
  NotifyChange();
}

void TZiridEvView::Clear() {
  bitmap_.Fill(Background());
  Update();
}

void TZiridEvView::Blank() {
  ReshapeBitmap(bitmap_, 1, 1, bitmap_.PixelFormat());
  Clear();
}

void TZiridEvView::Assign(const TZiridEvView* source) {
  if (!source) return Clear();
  bitmap_ = source->bitmap_;
  alpha_.Assign(&source->alpha_);
  SetBackground(source->Background());
  SetDpi(source->DpiX(), source->DpiY());
  ImageChange();
}

void TZiridEvView::Assign(const TIEWorkingBitmap& source) {
  bitmap_ = source;
  if (bitmap_.BitCount() != 1 && bitmap_.BitCount() != 24) bitmap_.SetPixelFormat(TIEPixelFormat::pf24bit);
  ImageChange();
}

void TZiridEvView::SetBackground(TBGR color) {
  TIEView::SetBackground(color);
  options_.Background = color;
  geometry_.Update();
}

void TZiridEvView::SetScrollBars(TScrollStyle style) {
  geometry_.SetScrollBars(style);
  SyncScrollBars();
}

void TZiridEvView::SetCenter(bool on) { geometry_.SetCenter(on); }

void TZiridEvView::SetAutoFit(bool on) {
  geometry_.SetAutoFit(on);
  geometry_.Update();
}

void TZiridEvView::SetBackgroundStyle(TIEBackgroundStyle style) {
  options_.BackgroundStyle = style;
  geometry_.SetFitMargins(FitMargins(style).X, FitMargins(style).Y);
  geometry_.Update();
}

void TZiridEvView::SetEnableAlphaChannel(bool on) {
  options_.EnableAlphaChannel = on;
  geometry_.Update();
}

void TZiridEvView::SetDisplayGrid(bool on) {
  options_.DisplayGrid = on;
  geometry_.Update();
}

void TZiridEvView::SetChessboard(int64_t size, TIEBrushStyle style) {
  options_.ChessboardSize = std::max<int64_t>(1, size);
  options_.ChessboardBrushStyle = style;
  geometry_.Update();
}

void TZiridEvView::SetMouseInteract(int value) {
  mouse_.SetMouseInteract(value);
  update();
}

void TZiridEvView::SetSelectionOptions(int options) {
  selection_.SetSelectionOptions(options);
  geometry_.Update();
}

void TZiridEvView::SelectRectangle(int64_t x1, int64_t y1, int64_t x2, int64_t y2, bool add) {
  selection_.SelectRectangle(x1, y1, x2, y2, add);
  geometry_.SetNeedRepaint();
  update();
}

void TZiridEvView::Deselect() {
  selection_.Deselect();
  geometry_.SetNeedRepaint();
  update();
}

void TZiridEvView::ShowSelection() {
  selection_.Polygon.Visible = true;
  update();
}

void TZiridEvView::HideSelection() {
  selection_.Polygon.Visible = false;
  if (!geometry_.PaintLocked()) update();
}

void TZiridEvView::SetSelectionColors(TBGR a, TBGR b) {
  selection_.Polygon.ColorA = a;
  selection_.Polygon.ColorB = b;
  update();
}

void TZiridEvView::SetCursor(int id) {
  mouse_.Cursor = id;
  ShowCursor();
}

void TZiridEvView::ShowCursor() {
  if (screenCursor_ == -2) return setCursor(Qt::WaitCursor);
  setCursor(ViewCursor(screenCursor_ >= 0 ? screenCursor_ : mouse_.CurrentCursor()));
}

void TZiridEvView::TimerTick() {
  TIEAnimatedPolygon& ants = selection_.Polygon;
  if (ants.Animated && !mouse_.Creating() && !mouse_.Dragging()) ants.AdvancePhase();
  geometry_.TimerTick();
  if (ants.Visible && (selection_.SelectionExists() || mouse_.Creating())) update();
}

// ---- painting

void TZiridEvView::DrawAnts(TIERawTarget& target) {
  TIEAnimatedPolygon& ants = selection_.Polygon;
  const bool lines = selectionMask_.IsEmpty() || mouse_.ActiveGrip() >= 0 || mouse_.Creating();
  if (lines) return ants.DrawLines(target, geometry_, mouse_.PolygonInProgress() || mouse_.LassoInProgress());
  if (geometry_.ScrollCountdown() > 0) return;
  const TIEVisibleSource source = geometry_.VisibleSource();
  const TIEMaskViewport viewport{geometry_.Zoom(), geometry_.OffsetX(), geometry_.OffsetY(), source.SourceLeft,
                                 source.SourceTop};
  selectionMask_.DrawOutline(target, viewport, ants.ColorA, ants.ColorB, ants.Phase);
}

void TZiridEvView::DrawGrips(QPainter& painter) {
  const TIEAnimatedPolygon& ants = selection_.Polygon;
  if (!ants.Sizeable || !ants.IsRectangular() || mouse_.Creating()) return;
  const double ratio = DeviceRatio();
  const double half = selection_.GripSize / ratio;
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  auto grip = [&](double x, double y) {
    painter.drawRect(QRectF(geometry_.BitmapToScreenX(int64_t(x)) / ratio - half,
                            geometry_.BitmapToScreenY(int64_t(y)) / ratio - half, 2 * half, 2 * half));
  };
  const auto& p = ants.Points();
  for (const TIEPoint& v : p) grip(v.X, v.Y);
  if (!selection_.ExtendedGrips) return;
  for (size_t i = 0; i < 4; ++i) grip((p[i].X + p[(i + 1) % 4].X) / 2.0, (p[i].Y + p[(i + 1) % 4].Y) / 2.0);
}

void TZiridEvView::DrawRubberBand(QPainter& painter) {
  if (!mouse_.HasRubberBand()) return;
  const double ratio = DeviceRatio();
  const TIEViewPoint a = mouse_.RubberBandFrom(), b = mouse_.RubberBandTo();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.setPen(QPen(Qt::white, 0));
  painter.drawLine(QPointF(a.X / ratio, a.Y / ratio), QPointF(b.X / ratio, b.Y / ratio));
}

TIEViewImage TZiridEvView::ViewImage() const {
  const bool filled = (selection_.SelectionOptions() & iesoFilled) && selection_.SelectionExists();
  return {&bitmap_, &alpha_, filled ? &selectionMask_ : nullptr};
}

void TZiridEvView::paintEvent(QPaintEvent*) {
  if (!geometry_.PaintLocked()) {
    painter_.PaintRect(geometry_, ViewImage(), options_);
    const TIEBackBuffer& back = painter_.BackBuffer();
    const bool ants = selection_.Polygon.Visible && (selection_.SelectionExists() || mouse_.Creating());
    const uint8_t* bits = back.Bits();
    if (ants) {
      // The ants go over a copy, so the back buffer stays a picture of the image.
      screen_.assign(back.Bits(), back.Bits() + back.RowBytes() * back.Height());
      TIERawTarget target{screen_.data(), back.Width(), back.Height(), back.RowBytes()};
      DrawAnts(target);
      bits = screen_.data();
    }
    QPainter painter(this);
    if (back.Width() > 0 && back.Height() > 0) {
      QImage frame(bits, int(back.Width()), int(back.Height()), int(back.RowBytes()), QImage::Format_BGR888);
      frame.setDevicePixelRatio(DeviceRatio());
      painter.drawImage(QPointF(0, 0), frame);
    }
    if (ants) DrawGrips(painter);
    DrawRubberBand(painter);
  }
  if (OnPaint) OnPaint(this);
}

// ---- input

TIEViewPoint TZiridEvView::DevicePoint(const QPointF& logical) const {
  const double ratio = DeviceRatio();
  return {Trunc(logical.x() * ratio), Trunc(logical.y() * ratio)};
}

void TZiridEvView::mousePressEvent(QMouseEvent* e) {
  const TIEViewPoint p = DevicePoint(e->position());
  dragPoint_ = p;
  mouse_.MouseDown(ButtonOf(e->button()), Shift(e), Alt(e), p.X, p.Y);
  ShowCursor();
  if (OnMouseDown) OnMouseDown(this, ButtonOf(e->button()), ShiftState(e), p.X, p.Y);
}

void TZiridEvView::mouseMoveEvent(QMouseEvent* e) {
  const TIEViewPoint p = DevicePoint(e->position());
  const bool held = e->buttons() & Qt::LeftButton;
  mouse_.MouseMove(held, Shift(e), Alt(e), p.X, p.Y);
  dragPoint_ = p;
  // Outside the image while dragging, the view keeps scrolling on its own.
  const bool outside = p.X < geometry_.OffsetX() || p.Y < geometry_.OffsetY() ||
                       p.X >= geometry_.OffsetX() + geometry_.DisplayWidth() ||
                       p.Y >= geometry_.OffsetY() + geometry_.DisplayHeight();
  if (held && outside && !(mouse_.MouseInteract() & miScroll)) autoScroll_.start();
  else autoScroll_.stop();
  ShowCursor();
  if (OnMouseMove) OnMouseMove(this, ShiftState(e), p.X, p.Y);
}

void TZiridEvView::mouseReleaseEvent(QMouseEvent* e) {
  autoScroll_.stop();
  const TIEViewPoint p = DevicePoint(e->position());
  mouse_.MouseUp(ButtonOf(e->button()), Shift(e), Alt(e), p.X, p.Y);
  ShowCursor();
  if (OnMouseUp) OnMouseUp(this, ButtonOf(e->button()), ShiftState(e), p.X, p.Y);
}

// The second press of a double click arrives as this event alone.
void TZiridEvView::mouseDoubleClickEvent(QMouseEvent* e) {
  const TIEViewPoint p = DevicePoint(e->position());
  mouse_.MouseDown(ButtonOf(e->button()), Shift(e), Alt(e), p.X, p.Y);
  mouse_.DoubleClick();
  if (OnMouseDown) OnMouseDown(this, ButtonOf(e->button()), ShiftState(e), p.X, p.Y);
}

// Touchpads send fractions of a notch: they are gathered into whole notches.
void TZiridEvView::wheelEvent(QWheelEvent* e) {
  wheelRest_ += e->angleDelta().y();
  bool handled = true;
  while (handled && std::abs(wheelRest_) >= 120) {
    const int64_t notch = wheelRest_ > 0 ? 120 : -120;
    handled = geometry_.MouseWheel(notch);
    wheelRest_ -= notch;
  }
  if (handled) e->accept();
  else QWidget::wheelEvent(e);
}

void TZiridEvView::keyPressEvent(QKeyEvent* e) {
  using K = TIEScrollBarKind;
  using C = TIEScrollCode;
  std::optional<std::pair<K, C>> scroll;
  switch (e->key()) {
    case Qt::Key_Shift: mouse_.SetShiftHeld(true), ShowCursor(); break;
    case Qt::Key_Up: scroll = {K::sbVertical, C::scLineUp}; break;
    case Qt::Key_Down: scroll = {K::sbVertical, C::scLineDown}; break;
    case Qt::Key_Left: scroll = {K::sbHorizontal, C::scLineUp}; break;
    case Qt::Key_Right: scroll = {K::sbHorizontal, C::scLineDown}; break;
    case Qt::Key_PageUp: scroll = {K::sbVertical, C::scPageUp}; break;
    case Qt::Key_PageDown: scroll = {K::sbVertical, C::scPageDown}; break;
    case Qt::Key_Home: scroll = {K::sbVertical, C::scTop}; break;
    case Qt::Key_End: scroll = {K::sbVertical, C::scBottom}; break;
    default: return QWidget::keyPressEvent(e);
  }
  if (scroll) geometry_.ScrollBarMessage(scroll->first, scroll->second);
}

void TZiridEvView::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() != Qt::Key_Shift) return QWidget::keyReleaseEvent(e);
  mouse_.SetShiftHeld(false);
  ShowCursor();
}

void TZiridEvView::focusInEvent(QFocusEvent*) { update(); }
void TZiridEvView::focusOutEvent(QFocusEvent*) { update(); }

}  // namespace quillet
