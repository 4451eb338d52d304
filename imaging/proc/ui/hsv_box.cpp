#include "imaging/proc/ui/hsv_box.h"

#include <QMouseEvent>

#include "imaging/core/math.h"
#include "imaging/proc/colour_spaces.h"

namespace quillet {

namespace {

QRgb ToRgb(TBGR c) { return qRgb(c.r, c.g, c.b); }

// Inverts each pixel of the rectangle's outline once, inside the drawing.
void InvertOutline(QImage& drawing, const QRect& r) {
  auto invert = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= drawing.width() || y >= drawing.height()) return;
    QRgb* p = reinterpret_cast<QRgb*>(drawing.scanLine(y)) + x;
    *p ^= 0x00FFFFFF;
  };
  for (int x = r.left(); x <= r.right(); ++x) {
    invert(x, r.top());
    if (r.bottom() != r.top()) invert(x, r.bottom());
  }
  for (int y = r.top() + 1; y < r.bottom(); ++y) {
    invert(r.left(), y);
    if (r.right() != r.left()) invert(r.right(), y);
  }
}

}  // namespace

THSVBox::THSVBox(QWidget* parent) : TBufferedControl(parent), background_(palette().color(QPalette::Button)) {
  resize(sizeHint());
  Redraw();
}

void THSVBox::SetHue(int hue) {
  hue_ = std::clamp(hue, 0, 359);
  HSVChanged();
}

void THSVBox::SetSat(int sat) {
  sat_ = std::clamp(sat, 0, 99);
  HSVChanged();
}

void THSVBox::SetVal(int val) {
  val_ = std::clamp(val, 0, 99);
  HSVChanged();
}

void THSVBox::SetColor(uint8_t r, uint8_t g, uint8_t b) {
  red_ = r, green_ = g, blue_ = b;
  const THSV hsv = RGBToHSV(r, g, b);
  hue_ = hsv.H, sat_ = hsv.S, val_ = hsv.V;
  Redraw();
}

void THSVBox::HSVChanged() {
  const TBGR c = HSVToRGB(hue_, sat_, val_);
  red_ = c.r, green_ = c.g, blue_ = c.b;
  Redraw();
}

void THSVBox::SetBackground(const QColor& color) {
  background_ = color;
  Redraw();
}

void THSVBox::SetHueBarWidth(int width) {
  if (width < 0) return;
  hueBarWidth_ = width;
  Redraw();
}

void THSVBox::SetBarsDistance(int distance) {
  if (distance < 0) return;
  barsDistance_ = distance;
  Redraw();
}

// ---- drawing

void THSVBox::Draw(QImage& drawing) {
  drawing.fill(background_);
  if (SquareShown()) DrawSquare(drawing);
  if (HueBarShown()) DrawHueBar(drawing);
  DrawMarkers(drawing);
}

// Value grows upwards, saturation to the right.
void THSVBox::DrawSquare(QImage& drawing) const {
  const int d = SquareWidth(), h = height();
  for (int row = 0; row < h; ++row) {
    const int v = int(Trunc(100.0 / h * (h - 1 - row)));
    QRgb* p = reinterpret_cast<QRgb*>(drawing.scanLine(row));
    for (int x = 0; x < d; ++x) p[x] = ToRgb(HSVToRGB(hue_, x * 100 / d, v));
  }
}

// Hue grows upwards, at full saturation and value.
void THSVBox::DrawHueBar(QImage& drawing) const {
  const int h = height();
  for (int row = 0; row < h; ++row) {
    const QRgb c = ToRgb(HSVToRGB(int(Trunc(360.0 / h * (h - 1 - row))), 99, 99));
    QRgb* p = reinterpret_cast<QRgb*>(drawing.scanLine(row));
    std::fill(p + HueBarLeft(), p + width(), c);
  }
}

void THSVBox::DrawMarkers(QImage& drawing) const {
  const int h = height();
  if (HueBarShown()) {
    const int y = int(Round((h - 1) * (359 - hue_) / 360.0));
    InvertOutline(drawing, QRect(QPoint(HueBarLeft(), y - 2), QPoint(width() - 1, y + 1)));
  }
  if (SquareShown()) {
    const int x = int(Round(sat_ / 99.0 * (SquareWidth() - 1)));
    const int y = h - int(Round((h - 1) * val_ / 99.0));
    InvertOutline(drawing, QRect(x - 3, y - 3, 6, 6));
  }
}

// ---- picking

void THSVBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  if (SquareShown() && p.x() < SquareWidth())
    drag_ = TDrag::Square;
  else if (HueBarShown() && p.x() >= HueBarLeft())
    drag_ = TDrag::HueBar;
  else
    return;
  Pick(p);
}

void THSVBox::mouseMoveEvent(QMouseEvent* event) {
  if (drag_ != TDrag::None) Pick(event->position().toPoint());
}

void THSVBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) drag_ = TDrag::None;
}

void THSVBox::Pick(QPoint point) {
  // A resize while dragging may have hidden the part.
  if (drag_ == TDrag::Square ? !SquareShown() : !HueBarShown()) return;
  const int h = height();
  const double y = std::clamp(point.y(), 0, h - 1) / double(h - 1);
  if (drag_ == TDrag::Square) {
    const int d = SquareWidth();
    sat_ = int(Round(std::clamp(point.x(), 0, d - 1) / double(d - 1) * 99));
    val_ = 99 - int(Round(y * 99));
  } else {
    hue_ = 359 - int(Round(y * 359));
  }
  HSVChanged();
  if (OnChange) OnChange(this);
}

}  // namespace quillet
