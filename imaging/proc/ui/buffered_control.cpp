#include "imaging/proc/ui/buffered_control.h"

#include <QEvent>
#include <QPainter>

namespace quillet {

TBufferedControl::TBufferedControl(QWidget* parent) : QWidget(parent) {
  // The drawing covers every pixel, so nothing is erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBufferedControl::Redraw() {
  if (drawing_.size() != size()) drawing_ = QImage(size(), QImage::Format_RGB32);
  if (!drawing_.isNull()) Draw(drawing_);
  update();
}

void TBufferedControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, drawing_);
}

void TBufferedControl::resizeEvent(QResizeEvent*) { Redraw(); }

// The drawings use the control's font and palette.
void TBufferedControl::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) Redraw();
  QWidget::changeEvent(event);
}

}  // namespace quillet
