// The left button on a control, sent straight to it.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace quillet::test {

inline void LeftButton(QWidget& control, QEvent::Type type, QPoint p) {
  const bool held = type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
                    type == QEvent::MouseButtonDblClick;
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(p), control.mapToGlobal(QPointF(p)), button, held ? Qt::LeftButton : Qt::NoButton,
                Qt::NoModifier);
  QApplication::sendEvent(&control, &e);
}

inline void Press(QWidget& control, QPoint p) { LeftButton(control, QEvent::MouseButtonPress, p); }
inline void Move(QWidget& control, QPoint p) { LeftButton(control, QEvent::MouseMove, p); }
inline void Release(QWidget& control, QPoint p) { LeftButton(control, QEvent::MouseButtonRelease, p); }
inline void Click(QWidget& control, QPoint p) {
  Press(control, p);
  Release(control, p);
}
// As the platform delivers it: press, release, double click, release.
inline void DoubleClick(QWidget& control, QPoint p) {
  Click(control, p);
  LeftButton(control, QEvent::MouseButtonDblClick, p);
  Release(control, p);
}

}  // namespace quillet::test
