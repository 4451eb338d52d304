// A plain window that shows one engine bitmap scaled to fit, aspect kept.
// It wraps the bitmap's rows as a QImage without copying them.
#pragma once

#include <QImage>
#include <QWidget>

#include "imaging/core/working_bitmap.h"

class ImageWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ImageWindow(quillet::TIEWorkingBitmap bitmap, const QString& title, QWidget* parent = nullptr);

  // The bitmap's rows as a QImage that shares them (valid while the window lives).
  static QImage WrapBitmap(const quillet::TIEWorkingBitmap& bitmap);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  quillet::TIEWorkingBitmap bitmap_;
  QImage image_;
};
