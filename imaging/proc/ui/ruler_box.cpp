#include "imaging/proc/ui/ruler_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "imaging/core/math.h"
#include "imaging/proc/ui/ruler_grips.h"

namespace quillet {

namespace {

bool Positive(double v) { return std::isfinite(v) && v > 0; }

}  // namespace

TRulerBox::TRulerBox(QWidget* parent)
    : TBufferedControl(parent),
      background_(palette().color(QPalette::Button)),
      rulerColor_(background_),
      grips_(1, TGrip{0, background_, 0, 0, 0}) {
  scrollTimer_.setInterval(30);
  connect(&scrollTimer_, &QTimer::timeout, this, &TRulerBox::ScrollTimerTick);
  resize(sizeHint());
  Relayout();
  Redraw();
}

// ---- properties

void TRulerBox::SetViewPos(double pos) {
  if (!std::isfinite(pos)) return;
  viewPos_ = pos;
  Relayout();
  Redraw();
}

void TRulerBox::SetViewMin(double value) {
  if (!std::isfinite(value)) return;
  viewMin_ = value;
  RangeChanged();
}

void TRulerBox::SetViewMax(double value) {
  if (!std::isfinite(value)) return;
  viewMax_ = value;
  RangeChanged();
}

void TRulerBox::RangeChanged() {
  for (TGrip& g : grips_) g.Min = viewMin_, g.Max = viewMax_;
  Relayout();
  Redraw();
}

void TRulerBox::SetDotPerUnit(double value) {
  if (!Positive(value)) return;
  dotPerUnit_ = value;
  Relayout();
  Redraw();
}

void TRulerBox::SetFrequency(double value) {
  if (!Positive(value)) return;
  frequency_ = value;
  Redraw();
}

void TRulerBox::SetLabelFreq(double value) {
  if (!Positive(value)) return;
  labelFreq_ = value;
  Redraw();
}

void TRulerBox::SetFitInView(bool on) {
  fitInView_ = on;
  Relayout();
  Redraw();
}

void TRulerBox::SetBackground(const QColor& color) {
  background_ = color;
  Redraw();
}

void TRulerBox::SetRulerColor(const QColor& color) {
  rulerColor_ = color;
  Redraw();
}

void TRulerBox::SetGripBaseDim(int pixels) {
  if (pixels < 0) return;
  gripBaseDim_ = pixels;
  Redraw();
}

void TRulerBox::SetGripsDir(TGripsDir dir) {
  gripsDir_ = dir;
  Redraw();
}

void TRulerBox::SetRuler(bool on) {
  ruler_ = on;
  Redraw();
}

void TRulerBox::SetRulerDir(TRulerDir dir) {
  rulerDir_ = dir;
  Relayout();
  Redraw();
}

void TRulerBox::SetHexLabels(bool on) {
  hexLabels_ = on;
  Redraw();
}

void TRulerBox::SetGripsCount(int count) {
  if (count < 0) return;
  if (dragged_ >= count) dragged_ = -1;
  grips_.resize(size_t(count), TGrip{viewMin_, background_, 0, viewMin_, viewMax_});
  Redraw();
}

double TRulerBox::GripPosition(int grip) const {
  return grip >= 0 && grip < GripsCount() ? grips_[size_t(grip)].Position : 0;
}

void TRulerBox::SetGripPosition(int grip, double pos) {
  if (grip < 0 || grip >= GripsCount()) return;
  TGrip& g = grips_[size_t(grip)];
  // Not std::clamp: the limits may be crossed, and NaN becomes the minimum.
  g.Position = std::max(g.Min, std::min(pos, g.Max));
  if (OnRulerPosChange) OnRulerPosChange(this, grip);
  Redraw();
}

QColor TRulerBox::GripColor(int grip) const {
  return grip >= 0 && grip < GripsCount() ? grips_[size_t(grip)].Color : QColor();
}

void TRulerBox::SetGripColor(int grip, const QColor& color) {
  if (grip < 0 || grip >= GripsCount()) return;
  grips_[size_t(grip)].Color = color;
  Redraw();
}

int TRulerBox::GripKind(int grip) const { return grip >= 0 && grip < GripsCount() ? grips_[size_t(grip)].Kind : 0; }

void TRulerBox::SetGripKind(int grip, int kind) {
  if (grip < 0 || grip >= GripsCount() || kind < 0 || kind > 4) return;
  grips_[size_t(grip)].Kind = kind;
  Redraw();
}

// ---- geometry

QPoint TRulerBox::Local(QPointF p) const {
  const QPoint q = p.toPoint();
  return rulerDir_ == TRulerDir::rdHorizontal ? q : QPoint(q.y(), q.x());
}

int TRulerBox::BandThickness() const { return ruler_ ? int(Trunc(fontMetrics().height() * 1.7)) + 3 : 0; }

int TRulerBox::Pixel(double unit) const {
  return int(std::clamp<int64_t>(Round((unit - viewPos_) * dotPerUnit_), -(1 << 24), 1 << 24));
}

void TRulerBox::Relayout() {
  if (fitInView_ && viewMax_ > viewMin_ && Length() > 0) dotPerUnit_ = Length() / (viewMax_ - viewMin_);
  const double last = viewMax_ - Length() / dotPerUnit_;
  viewPos_ = last < viewMin_ ? viewMin_ : std::clamp(viewPos_, viewMin_, last);
}

void TRulerBox::resizeEvent(QResizeEvent* event) {
  Relayout();
  TBufferedControl::resizeEvent(event);
}

void TRulerBox::ForEachMark(double every, const std::function<void(int, double)>& draw) const {
  // Marks closer than 2 pixels would only blacken the band.
  if (every * dotPerUnit_ < 2) return;
  const double first = std::ceil(viewPos_ / every) * every;
  for (int k = 0; k <= Length(); ++k) {
    const double unit = first + k * every;
    const int u = Pixel(unit);
    if (u >= Length()) break;
    draw(u, unit);
  }
}

QPolygon TRulerBox::GripOutline(int grip) const {
  const int band = BandThickness();
  const int length = std::max(0, std::min(gripBaseDim_, Thickness() - band - 1));
  const bool up = gripsDir_ == TGripsDir::gdUp;
  const int tip = up ? band : Thickness() - band - 1;
  const TGrip& g = grips_[size_t(grip)];
  return GripPolygon(g.Kind, Pixel(g.Position), tip, length, gripBaseDim_ / 2, up);
}

int TRulerBox::GripAt(QPoint local) const {
  for (int i = GripsCount() - 1; i >= 0; --i)
    if (GripOutline(i).boundingRect().contains(local)) return i;
  return -1;
}

// ---- drawing

void TRulerBox::Draw(QImage& drawing) {
  drawing.fill(background_);
  QPainter painter(&drawing);
  // Drawn along x; a vertical ruler swaps the axes.
  if (rulerDir_ == TRulerDir::rdVertical) painter.setTransform(QTransform(0, 1, 1, 0, 0, 0));
  if (ruler_) DrawBand(painter);
  painter.setPen(Qt::black);
  for (int i = 0; i < GripsCount(); ++i) {
    painter.setBrush(grips_[size_t(i)].Color);
    painter.drawPolygon(GripOutline(i));
  }
}

// Ticks hang from the band's edge next to the grips; labels run along its outer edge.
void TRulerBox::DrawBand(QPainter& painter) const {
  const int band = BandThickness(), fh = fontMetrics().height();
  const bool up = gripsDir_ == TGripsDir::gdUp;
  const int edge = up ? band - 1 : Thickness() - band;
  const int outer = up ? 0 : Thickness() - 1;
  const int inward = up ? -1 : 1;  // from the edge into the band
  painter.fillRect(QRect(0, std::min(edge, outer), Length(), band), rulerColor_);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawLine(0, edge, Length() - 1, edge);
  const int shortTick = std::max(1, (band - fh) / 2);
  ForEachMark(frequency_, [&](int u, double) { painter.drawLine(u, edge, u, edge + inward * shortTick); });
  const int labelTop = up ? 1 : Thickness() - 1 - fh;
  ForEachMark(labelFreq_, [&](int u, double unit) {
    painter.drawLine(u, edge, u, outer - inward);
    DrawLabel(painter, u + 3, labelTop, unit);
  });
}

void TRulerBox::DrawLabel(QPainter& painter, int u, int t, double unit) const {
  const QString text =
      hexLabels_ ? QString::number(qlonglong(Round(unit)), 16).toUpper() : QString::number(unit, 'g', 10);
  const QSize box(fontMetrics().horizontalAdvance(text), fontMetrics().height());
  if (rulerDir_ == TRulerDir::rdHorizontal) {
    painter.drawText(QRect(QPoint(u, t), box), Qt::AlignLeft | Qt::AlignTop, text);
    return;
  }
  // Turned a quarter clockwise, the text runs down from u with its top towards larger x.
  const QTransform kept = painter.transform();
  painter.resetTransform();
  painter.translate(t + box.height(), u);
  painter.rotate(90);
  painter.drawText(QRect(QPoint(0, 0), box), Qt::AlignLeft | Qt::AlignTop, text);
  painter.setTransform(kept);
}

// ---- mouse

void TRulerBox::mousePressEvent(QMouseEvent* event) { Press(event, false); }

void TRulerBox::mouseDoubleClickEvent(QMouseEvent* event) { Press(event, true); }

void TRulerBox::Press(QMouseEvent* event, bool doubleClick) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint local = Local(event->position());
  const int grip = GripAt(local);
  if (grip < 0) {
    if (OnRulerClick) OnRulerClick(this, Unit(local.x()));
    return;
  }
  dragged_ = grip;
  pressPoint_ = event->position().toPoint();
  mouseU_ = local.x();
  grabOffset_ = Unit(mouseU_) - grips_[size_t(grip)].Position;
  if (doubleClick && OnRulerGripDblClick) OnRulerGripDblClick(this, grip);
}

void TRulerBox::mouseMoveEvent(QMouseEvent* event) {
  if (dragged_ < 0) return;
  mouseU_ = Local(event->position()).x();
  const bool past = mouseU_ < 0 || mouseU_ >= Length();
  if (past && !scrollTimer_.isActive()) scrollTimer_.start();
  if (!past) scrollTimer_.stop();
  FollowMouse();
}

void TRulerBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || dragged_ < 0) return;
  scrollTimer_.stop();
  const int grip = dragged_;
  dragged_ = -1;
  if (event->position().toPoint() == pressPoint_ && OnRulerGripClick) OnRulerGripClick(this, grip);
}

void TRulerBox::FollowMouse() {
  SetGripPosition(dragged_, Unit(std::clamp(mouseU_, 0, std::max(0, Length() - 1))) - grabOffset_);
}

void TRulerBox::ScrollTimerTick() {
  if (dragged_ < 0 || (mouseU_ >= 0 && mouseU_ < Length())) {
    scrollTimer_.stop();
    return;
  }
  const double step = 1 / dotPerUnit_;
  SetViewPos(viewPos_ + (mouseU_ < 0 ? -step : step));
  FollowMouse();
}

}  // namespace quillet
