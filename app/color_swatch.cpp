#include "app/color_swatch.h"

#include <QPainter>

namespace quillet {

TColorSwatch::TColorSwatch(const char* name, const QColor& color, const QString& hint, QWidget* parent)
    : QFrame(parent), color_(color) {
  setObjectName(name);
  setToolTip(hint);
  setStatusTip(hint);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setFixedSize(24, 24);
}

void TColorSwatch::SetColor(const QColor& color) {
  color_ = color;
  update();
}

void TColorSwatch::paintEvent(QPaintEvent* event) {
  QPainter(this).fillRect(contentsRect(), color_);
  QFrame::paintEvent(event);
}

void TColorSwatch::mouseDoubleClickEvent(QMouseEvent*) {
  if (OnDblClick) OnDblClick();
}

}  // namespace quillet
