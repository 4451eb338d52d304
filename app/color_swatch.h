// TColorSwatch: a colour field of the tool panel; a double click edits it.
#pragma once

#include <QColor>
#include <QFrame>
#include <functional>

namespace quillet {

class TColorSwatch : public QFrame {
  Q_OBJECT

 public:
  TColorSwatch(const char* name, const QColor& color, const QString& hint, QWidget* parent = nullptr);

  QColor Color() const { return color_; }
  void SetColor(const QColor& color);

  std::function<void()> OnDblClick;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QColor color_;
};

}  // namespace quillet
