// The view widget on Qt's offscreen platform: loading through its own I/O
// component, painting what the image holds, scroll bars, the wheel, mouse
// selection, the ants timer and the cursors.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include "imaging/view/qt/view_cursors.h"
#include "imaging/view/qt/ziridev.h"
#include "support/test_support.h"

namespace quillet {
namespace {

QApplication& App() { return *static_cast<QApplication*>(QApplication::instance()); }

// A view of w x h pixels holding a gradient image of iw x ih.
struct Shown {
  Shown(int w, int h, int64_t iw, int64_t ih) {
    view.resize(w, h);
    view.Bitmap() = TIEWorkingBitmap(iw, ih, TIEPixelFormat::pf24bit);
    for (int64_t y = 0; y < ih; ++y)
      for (int64_t x = 0; x < iw; ++x) {
        uint8_t* p = view.Bitmap().ScanLine(y) + 3 * x;
        p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 77;
      }
    view.show();
    view.ImageChange();
    QApplication::processEvents();
  }
  QImage Grab() { return view.grab().toImage().convertToFormat(QImage::Format_RGB888); }
  void Mouse(QEvent::Type type, int x, int y, Qt::MouseButtons held, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent e(type, QPointF(x, y), view.mapToGlobal(QPointF(x, y)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&view, &e);
  }

  QApplication& app = App();  // before any widget
  TZiridEv view;
};

TEST(ZiridEvView, PaintsTheImageOverTheBackground) {
  Shown s(120, 80, 50, 40);
  s.view.SetBackground(MakeBGR(0, 0, 255));
  QApplication::processEvents();
  const QImage shot = s.Grab();
  if (shot.devicePixelRatio() != 1) GTEST_SKIP() << "needs a screen with ratio 1";
  EXPECT_EQ(shot.pixelColor(10, 20), QColor(77, 20, 10));
  EXPECT_EQ(shot.pixelColor(49, 39), QColor(77, 39, 49));
  EXPECT_EQ(shot.pixelColor(60, 20), QColor(0, 0, 255));
  s.view.SetZoom(200);
  QApplication::processEvents();
  EXPECT_EQ(s.Grab().pixelColor(21, 41), QColor(77, 20, 10));
}

TEST(ZiridEvView, LoadsThroughItsOwnComponent) {
  App();
  test::TempDir dir;
  TIEWorkingBitmap image(30, 20, TIEPixelFormat::pf24bit);
  image.Fill(MakeBGR(200, 100, 50));
  TZiridEvIO writer;
  writer.SetAttachedBitmap(&image);
  writer.SaveToFile(dir.File("a.bmp"));
  ASSERT_FALSE(writer.Aborting);

  TZiridEv view;
  int changes = 0;
  view.OnImageChange = [&](TZiridEvView*) { ++changes; };
  view.LoadFromFile(dir.File("a.bmp"));
  ASSERT_FALSE(view.IO().Aborting) << view.IO().LastError;
  EXPECT_EQ(view.Bitmap().Width(), 30);
  EXPECT_EQ(view.AlphaChannel().Width(), 30);
  EXPECT_EQ(view.Geometry().ImageWidth(), 30);
  EXPECT_EQ(changes, 1);
  // Its processing component works on the same image and repaints it.
  view.Proc().Rotate(90, false);
  EXPECT_EQ(view.Bitmap().Width(), 20);
  EXPECT_EQ(view.Geometry().ImageWidth(), 20);
  EXPECT_EQ(changes, 2);
}

TEST(ZiridEvView, ScrollBarsAppearWhenTheImageOutgrowsTheView) {
  Shown s(200, 150, 100, 100);
  s.view.SetScrollBars(TScrollStyle::ssBoth);
  QScrollBar* h = s.view.findChildren<QScrollBar*>()[0];
  EXPECT_FALSE(h->isVisible());
  s.view.SetZoom(400);
  QApplication::processEvents();
  EXPECT_TRUE(h->isVisible());
  EXPECT_GT(s.view.Geometry().MaxView().X, 0);
  // Dragging the thumb to the end scrolls to the last column.
  h->setSliderDown(true);
  h->setSliderPosition(h->maximum());
  h->setSliderDown(false);
  EXPECT_EQ(s.view.Geometry().ViewX(), s.view.Geometry().MaxView().X);
}

TEST(ZiridEvView, WheelZoomsByNotches) {
  Shown s(200, 150, 100, 100);
  auto wheel = [&](int delta) {
    QWheelEvent e(QPointF(50, 50), s.view.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&s.view, &e);
  };
  wheel(-120);  // toward the user
  EXPECT_EQ(s.view.Zoom(), 108);
  wheel(-60);
  EXPECT_EQ(s.view.Zoom(), 108);  // half a notch waits for the other half
  wheel(-60);
  EXPECT_EQ(s.view.Zoom(), 117);
}

TEST(ZiridEvView, DraggingSelectsAndTheAntsMarch) {
  Shown s(200, 150, 100, 100);
  s.view.SetMouseInteract(miSelect);
  int changes = 0;
  s.view.OnSelectionChange = [&](TZiridEvView*) { ++changes; };
  s.Mouse(QEvent::MouseButtonPress, 10, 10, Qt::LeftButton);
  s.Mouse(QEvent::MouseMove, 30, 20, Qt::LeftButton);
  s.Mouse(QEvent::MouseMove, 40, 30, Qt::LeftButton);
  s.Mouse(QEvent::MouseButtonRelease, 40, 30, Qt::NoButton);
  ASSERT_TRUE(s.view.Selection().SelectionExists());
  EXPECT_EQ(s.view.Selection().SelectionLeft(), 10);
  EXPECT_EQ(s.view.Selection().SelectionRight(), 40);
  EXPECT_EQ(changes, 1);

  const int phase = s.view.Selection().Polygon.Phase;
  s.view.TimerTick();
  EXPECT_EQ(s.view.Selection().Polygon.Phase, (phase + 1) % 6);
  QApplication::processEvents();
  const QImage shot = s.Grab();
  if (shot.devicePixelRatio() == 1) {
    // The outline is drawn in black and white over the image.
    const QColor c = shot.pixelColor(10, 20);
    EXPECT_TRUE(c == QColor(0, 0, 0) || c == QColor(255, 255, 255)) << c.name().toStdString();
    EXPECT_EQ(shot.pixelColor(25, 20), QColor(77, 20, 25));
  }
  // Resting over the selection shows the move cursor.
  s.Mouse(QEvent::MouseMove, 25, 20, Qt::NoButton);
  EXPECT_EQ(s.view.cursor().pixmap().cacheKey(), ViewCursor(crMove).pixmap().cacheKey());

  s.Mouse(QEvent::MouseButtonPress, 80, 80, Qt::LeftButton);
  s.Mouse(QEvent::MouseButtonRelease, 80, 80, Qt::NoButton);
  EXPECT_FALSE(s.view.Selection().SelectionExists());
}

TEST(ZiridEvView, AssignCopiesImagesAndViews) {
  Shown s(120, 80, 50, 40);
  s.view.AlphaChannel().SetPixel(3, 3, 7);
  s.view.SetBackground(MakeBGR(1, 2, 3));
  s.view.SetDpi(300, 150);
  TZiridEv copy;
  int changes = 0;
  copy.OnImageChange = [&](TZiridEvView*) { ++changes; };
  copy.Assign(&s.view);
  EXPECT_EQ(copy.Bitmap().Pixel(49, 39), s.view.Bitmap().Pixel(49, 39));
  EXPECT_EQ(copy.AlphaChannel().GetPixel(3, 3), 7);
  EXPECT_EQ(copy.Background(), MakeBGR(1, 2, 3));
  EXPECT_EQ(copy.DpiY(), 150);
  EXPECT_EQ(changes, 1);

  TIEWorkingBitmap indexed;
  ASSERT_TRUE(indexed.Resize(4, 2, TIEPixelFormat::pf8bit));
  indexed.Palette().assign(256, {9, 8, 7, 0});
  copy.Assign(indexed);
  EXPECT_EQ(copy.Bitmap().PixelFormat(), TIEPixelFormat::pf24bit);
  EXPECT_EQ(copy.Bitmap().Pixel(3, 1), (TBGR{9, 8, 7}));
  EXPECT_EQ(copy.AlphaChannel().Width(), 4);

  copy.Assign(static_cast<const TZiridEvView*>(nullptr));  // none: cleared to the background
  EXPECT_EQ(copy.Bitmap().Pixel(0, 0), MakeBGR(1, 2, 3));
}

TEST(ZiridEvView, PaintsToOtherTargetsAndHidesTheSelection) {
  Shown s(120, 80, 50, 40);
  s.view.SelectRectangle(5, 5, 20, 20, false);
  s.view.HideSelection();
  EXPECT_FALSE(s.view.Selection().Polygon.Visible);
  s.view.ShowSelection();
  s.view.SetSelectionColors(MakeBGR(255, 0, 0), MakeBGR(0, 255, 0));
  EXPECT_EQ(s.view.Selection().Polygon.ColorA, MakeBGR(255, 0, 0));

  std::vector<uint8_t> pixels(size_t(RowLength(50, 24) * 40));
  TIERawTarget target{pixels.data(), 50, 40, RowLength(50, 24)};
  s.view.DrawVisibleTo(target);
  EXPECT_EQ(pixels[size_t(RowLength(50, 24) * 39 + 3 * 49)], 49);  // blue = x
  EXPECT_EQ(pixels[size_t(RowLength(50, 24) * 39 + 3 * 49 + 1)], 39);
}

// Run with QT_SCALE_FACTOR=2 by its own CTest entry; skipped at ratio 1.
// The mouse events follow the view's own handling: at the release the
// selection the drag made already exists.
TEST(ZiridEvView, RaisesMouseEventsAfterItsOwnGestures) {
  Shown s(200, 150, 100, 100);
  s.view.SetMouseInteract(miSelect);
  QStringList seen;
  s.view.OnMouseDown = [&](TZiridEvView*, TIEMouseButton b, int shift, int64_t x, int64_t y) {
    seen << QString("down %1 %2 %3,%4").arg(int(b)).arg(shift).arg(x).arg(y);
  };
  s.view.OnMouseMove = [&](TZiridEvView*, int shift, int64_t x, int64_t y) {
    seen << QString("move %1 %2,%3").arg(shift).arg(x).arg(y);
  };
  s.view.OnMouseUp = [&](TZiridEvView* v, TIEMouseButton b, int shift, int64_t x, int64_t y) {
    seen << QString("up %1 %2 %3,%4 %5").arg(int(b)).arg(shift).arg(x).arg(y).arg(v->Selection().SelectionExists());
  };
  s.Mouse(QEvent::MouseMove, 5, 6, Qt::NoButton);
  s.Mouse(QEvent::MouseButtonPress, 10, 10, Qt::LeftButton);
  s.Mouse(QEvent::MouseMove, 40, 30, Qt::LeftButton);
  s.Mouse(QEvent::MouseButtonRelease, 40, 30, Qt::NoButton);
  s.Mouse(QEvent::MouseButtonPress, 7, 8, Qt::RightButton, Qt::RightButton);
  EXPECT_EQ(seen, QStringList({"move 0 5,6", "down 0 8 10,10", "move 8 40,30", "up 0 0 40,30 1",
                               QString("down %1 16 7,8").arg(int(TIEMouseButton::mbRight))}));
}

TEST(ZiridEvView, HiDpiClientPixelsAreDevicePixels) {
  Shown s(100, 80, 300, 300);
  if (s.view.DeviceRatio() != 2) GTEST_SKIP() << "needs a device pixel ratio of 2";
  EXPECT_EQ(s.view.ViewWidth(), 200);
  EXPECT_EQ(s.view.ViewHeight(), 160);
  s.view.SetMouseInteract(miSelect);
  int64_t downX = 0;
  s.view.OnMouseDown = [&](TZiridEvView*, TIEMouseButton, int, int64_t x, int64_t) { downX = x; };
  s.Mouse(QEvent::MouseButtonPress, 10, 10, Qt::LeftButton);
  s.Mouse(QEvent::MouseMove, 30, 20, Qt::LeftButton);
  s.Mouse(QEvent::MouseButtonRelease, 30, 20, Qt::NoButton);
  EXPECT_EQ(downX, 20);  // the mouse events give device pixels too
  // At 100 % every image pixel is one device pixel: logical 10 is image 20.
  EXPECT_EQ(s.view.Selection().SelectionLeft(), 20);
  EXPECT_EQ(s.view.Selection().SelectionRight(), 60);
  const QImage shot = s.view.grab().toImage();
  EXPECT_EQ(shot.width(), 200);
  EXPECT_EQ(shot.pixelColor(101, 41), QColor(77, 41, 101));
}

TEST(ZiridEvView, EveryCursorHasItsName) {
  App();
  EXPECT_STREQ(ViewCursorName(1785), "CROCE3");
  EXPECT_STREQ(ViewCursorName(1791), "CROCE3+");
  for (int id = kFirstViewCursor; id <= kLastViewCursor; ++id) {
    EXPECT_STRNE(ViewCursorName(id), "") << id;
    EXPECT_FALSE(ViewCursor(id).pixmap().isNull()) << id;
  }
  EXPECT_EQ(ViewCursor(42).shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace quillet
