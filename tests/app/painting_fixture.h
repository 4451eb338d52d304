// A document in the editor with the mouse driven on its view, the frame's
// controls found by name, and the pixels a gesture changed.
#pragma once

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QToolButton>
#include <vector>

#include "app_fixture.h"
#include "app/color_swatch.h"
#include "imaging/core/canvas.h"

namespace quillet::test {

struct TPaper {
  bool BlackWhite = false;
  bool Pattern = true;  // a pattern every figure shows on, or white
  int Width = 80, Height = 60;
};

struct Painting {
  explicit Painting(bool blackWhite = false) : Painting(TPaper{.BlackWhite = blackWhite}) {}
  explicit Painting(const TPaper& paper) {
    doc = e.New(paper.Width, paper.Height, paper.BlackWhite);
    view = doc->findChild<TZiridEvView*>("ZiridEvView1");
    TIECanvas canvas(view->Bitmap());
    for (int32_t y = 0; paper.Pattern && y < paper.Height; ++y)
      for (int32_t x = 0; x < paper.Width; ++x)
        canvas.SetPixel(x, y, paper.BlackWhite ? ((x / 3 + y) % 2 ? kBlack : kWhite) : MakeBGR(x * 3, y * 4, 77));
    view->Update();
    original = view->Bitmap();
  }
  template <class T>
  T* Control(const char* name) {
    T* control = e.frame.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Mouse(QEvent::Type type, int x, int y, Qt::MouseButtons held, Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent event(type, QPointF(x, y), view->mapToGlobal(QPointF(x, y)), button, held, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
  }
  void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) { Mouse(QEvent::MouseButtonPress, x, y, b, b); }
  void Drag(int x, int y) { Mouse(QEvent::MouseMove, x, y, Qt::LeftButton); }
  void Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    Mouse(QEvent::MouseButtonRelease, x, y, Qt::NoButton, b);
  }
  void Click(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    Press(x, y, b);
    Release(x, y, b);
  }
  QString Panel(int i) { return doc->findChild<QLabel*>(QString("StatusPanel%1").arg(i))->text(); }
  // The paint and fill swatches, set as the colour dialog would.
  void Swatches(const QColor& paint, const QColor& fill) {
    e.color = paint;
    e.frame.BasicColorDblClick();
    e.color = fill;
    e.frame.AddColorDblClick();
  }

  // The pixels that differ from `original`.
  std::vector<TIEPoint> Changed() const {
    std::vector<TIEPoint> out;
    const TIEWorkingBitmap& b = view->Bitmap();
    for (int32_t y = 0; y < int32_t(b.Height()); ++y)
      for (int32_t x = 0; x < int32_t(b.Width()); ++x)
        if (b.Pixel(x, y) != original.Pixel(x, y)) out.push_back({x, y});
    return out;
  }

  Editor e;
  TEditForm* doc;
  TZiridEvView* view;
  TIEWorkingBitmap original;
};

}  // namespace quillet::test
