// Painting of the image window: the image fitted into the client area.
#include "app/image_window.h"

#include <QPaintEvent>
#include <QPainter>

ImageWindow::ImageWindow(quillet::TIEWorkingBitmap bitmap, const QString& title, QWidget* parent)
    : QWidget(parent), bitmap_(std::move(bitmap)), image_(WrapBitmap(bitmap_)) {
  setWindowTitle(title);
  setAttribute(Qt::WA_OpaquePaintEvent);
  const QSize natural(int(bitmap_.Width()), int(bitmap_.Height()));
  resize(natural.boundedTo(QSize(1024, 768)).expandedTo(QSize(200, 150)));
}

QImage ImageWindow::WrapBitmap(const quillet::TIEWorkingBitmap& bitmap) {
  using quillet::TIEPixelFormat;
  if (bitmap.Empty()) return QImage();
  const int w = int(bitmap.Width()), h = int(bitmap.Height());
  const auto stride = qsizetype(bitmap.RowBytes());
  if (bitmap.PixelFormat() == TIEPixelFormat::pf1bit) {
    QImage mono(bitmap.Bits(), w, h, stride, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    return mono;
  }
  return QImage(bitmap.Bits(), w, h, stride, QImage::Format_BGR888);
}

void ImageWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().window());
  if (image_.isNull()) return;
  const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
  const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, fitted.width() < image_.width());
  painter.drawImage(target, image_);
}
