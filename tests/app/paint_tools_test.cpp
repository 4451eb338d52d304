// The paint tools in the editor: drags on a document's view with Draw and Art
// Draw (previews that leave no trace, the final figure, one undo step), the
// image point under the pointer, the status panels and the Draw panel's lists.
#include <gtest/gtest.h>

#include "painting_fixture.h"

namespace quillet::test {
namespace {

// Whether p lies in the box of a and b grown by `margin`.
bool Near(TIEPoint p, TIEPoint a, TIEPoint b, int margin) {
  return p.X >= std::min(a.X, b.X) - margin && p.X <= std::max(a.X, b.X) + margin &&
         p.Y >= std::min(a.Y, b.Y) - margin && p.Y <= std::max(a.Y, b.Y) + margin;
}

struct Drag {
  const char* Name;
  const char* Tool;  // SpeedButton1 Draw, SpeedButton3 Art Draw
  const char* Shape;
  int Fill, Width, Art;
  TIEPoint End;
};

// Draw's final figure, drawn here with the canvas from the options.
TIEWorkingBitmap DrawnFigure(const TIEWorkingBitmap& before, const Drag& d, TIEPoint start) {
  static const TIEBrushStyle kStyles[] = {TIEBrushStyle::bsClear,      TIEBrushStyle::bsSolid,
                                          TIEBrushStyle::bsHorizontal, TIEBrushStyle::bsVertical,
                                          TIEBrushStyle::bsFDiagonal,  TIEBrushStyle::bsBDiagonal,
                                          TIEBrushStyle::bsCross,      TIEBrushStyle::bsDiagCross};
  TIEWorkingBitmap out = before;
  TIECanvas c(out);
  c.State() = TIECanvasState();
  c.State().PenWidth = d.Width;
  c.State().BrushColor = MakeBGR(255, 0, 0);
  c.State().BrushStyle = kStyles[d.Fill];
  const QString shape = d.Shape;
  if (shape == " Line") c.MoveTo(start.X, start.Y), c.LineTo(d.End.X, d.End.Y);
  if (shape == " Rectangle") c.Rectangle(start.X, start.Y, d.End.X, d.End.Y);
  if (shape == " Ellipse") c.Ellipse(start.X, start.Y, d.End.X, d.End.Y);
  return out;
}

// Each drag: press (10, 10), a move far off, a move to the end, release. The
// cases run in this order in one editor, so the art previews start with the
// wide pen the Draw shapes left on the canvas.
TEST(PaintTools, DragsPreviewWithoutTracesAndUndoInOneStep) {
  const Drag drags[] = {{"cross-hatched ellipse w3", "SpeedButton1", " Ellipse", 6, 3, 0, {50, 45}},
                        {"solid rectangle", "SpeedButton1", " Rectangle", 1, 1, 0, {35, 25}},
                        {"line w5", "SpeedButton1", " Line", 0, 5, 0, {40, 30}},
                        {"art cross line", "SpeedButton3", "", 0, 1, 1, {40, 10}},
                        {"art rgb line", "SpeedButton3", "", 0, 1, 0, {40, 10}},
                        {"art herring-bone rectangle", "SpeedButton3", "", 0, 1, 7, {40, 30}}};
  for (const bool blackWhite : {false, true}) {
    Painting p(blackWhite);
    p.e.color = QColor(255, 0, 0);
    p.e.frame.AddColorDblClick();
    for (const Drag& d : drags) {
      SCOPED_TRACE(std::string(d.Name) + (blackWhite ? " on 1 bit" : " on 24 bits"));
      p.Control<QToolButton>(d.Tool)->setChecked(true);
      ASSERT_EQ(p.view->MouseInteract(), 0);
      if (*d.Shape) p.Control<QComboBox>("ComboBox2")->setEditText(d.Shape);
      p.Control<QComboBox>("ComboBox4")->setCurrentIndex(d.Fill);
      p.Control<QSpinBox>("UpDown1")->setValue(d.Width);
      p.Control<QComboBox>("ComboBox3")->setCurrentIndex(d.Art);
      p.original = p.view->Bitmap();
      p.view->grab();  // painted as it was
      const TIEPoint start{10, 10}, far{70, 55};
      p.Press(start.X, start.Y);
      EXPECT_TRUE(p.Changed().empty()) << "a press alone draws nothing";
      for (const TIEPoint to : {far, d.End}) {
        p.Drag(to.X, to.Y);
        const std::vector<TIEPoint> changed = p.Changed();
        EXPECT_FALSE(changed.empty());
        for (const TIEPoint q : changed) ASSERT_TRUE(Near(q, start, to, 12)) << q.X << "," << q.Y;
      }
      p.Release(70, 55);  // the last move's point ends the figure
      if (d.Tool == std::string("SpeedButton1")) {
        const TIEWorkingBitmap expected = DrawnFigure(p.original, d, start);
        for (int32_t y = 0; y < 60; ++y)
          for (int32_t x = 0; x < 80; ++x) ASSERT_EQ(p.view->Bitmap().Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
      } else {
        // The final art figure is in the paint colour (the RGB one in its
        // three), over no remains of the inverted previews.
        const std::vector<TIEPoint> changed = p.Changed();
        EXPECT_FALSE(changed.empty());
        for (const TIEPoint q : changed) {
          ASSERT_TRUE(Near(q, start, d.End, 9));
          const TBGR c = p.view->Bitmap().Pixel(q.X, q.Y);
          if (blackWhite) continue;
          if (d.Art == 0) {
            ASSERT_TRUE(c == MakeBGR(255, 0, 0) || c == MakeBGR(0, 255, 0) || c == MakeBGR(0, 0, 255));
          } else {
            ASSERT_EQ(c, kBlack);
          }
        }
        if (!blackWhite && d.Art == 0) {
          EXPECT_EQ(changed.size(), 30u);
        }
      }
      // The view shows the figure.
      const TIEPoint q = p.Changed().front();
      const QColor shown = p.view->grab().toImage().pixelColor(q.X, q.Y);
      const TBGR held = p.view->Bitmap().Pixel(q.X, q.Y);
      EXPECT_EQ(shown, QColor(held.r, held.g, held.b));
      p.e.frame.Timer1Timer();
      ASSERT_TRUE(p.e.frame.Undo1->isEnabled());
      p.e.frame.Undo1->trigger();
      EXPECT_TRUE(p.Changed().empty()) << "one undo restores the image";
    }
  }
}

TEST(PaintTools, ImagePointsFollowTheViewsZoomAndScrolling) {
  Painting p;
  p.view->Assign(TIEWorkingBitmap(400, 200, TIEPixelFormat::pf24bit));
  p.view->SetZoom(200);
  p.view->Geometry().SetViewXY(50, 0);
  ASSERT_EQ(p.view->Geometry().ViewX(), 50);
  EXPECT_EQ(p.doc->ToImagePoint(11, 4), (TIEPoint{30, 2}));
  p.Mouse(QEvent::MouseMove, 11, 4, Qt::NoButton);
  EXPECT_EQ(p.Panel(2), "Position: X=30, Y=2");
  p.view->SetZoom(100);
  p.view->Geometry().SetViewX(0);
  EXPECT_EQ(p.doc->ToImagePoint(-3, -3), (TIEPoint{-3, -3}));  // not clipped
}

// Moves with no button only report; the selection's size counts its pixels.
TEST(PaintTools, MovesAndReleasesReportPositionAndSelection) {
  Painting p;
  p.Control<QToolButton>("SpeedButton5")->click();
  p.Mouse(QEvent::MouseMove, 7, 8, Qt::NoButton);
  EXPECT_EQ(p.Panel(2), "Position: X=7, Y=8");
  EXPECT_EQ(p.Panel(3), " ");
  p.doc->SelectAll();
  p.Mouse(QEvent::MouseMove, 9, 8, Qt::NoButton);
  EXPECT_EQ(p.Panel(3), "Selected: 80x60");
  EXPECT_TRUE(p.e.frame.EditorState.HasSelection);
  p.Control<QToolButton>("SpeedButton1")->click();
  p.view->Deselect();
  p.Press(5, 5);
  p.Release(5, 5);
  EXPECT_EQ(p.Panel(3), " ");
  EXPECT_FALSE(p.e.frame.EditorState.HasSelection);
  EXPECT_TRUE(p.Changed().empty()) << "a click without a move draws nothing";
}

TEST(PaintTools, ShapeAndFillListsShowTheirPictures) {
  Painting p;
  auto* shapes = p.Control<QComboBox>("ComboBox2");
  auto* fills = p.Control<QComboBox>("ComboBox4");
  QLabel* shapePicture = p.Control<QLabel>("Image2");
  QLabel* fillPicture = p.Control<QLabel>("Image4");
  auto picture = [](const char* name) { return QPixmap(QString(":/") + name).toImage(); };
  EXPECT_EQ(fillPicture->pixmap().toImage(), picture("FCLEAR"));
  EXPECT_EQ(shapePicture->pixmap().toImage(), picture("LINE"));
  const char* const fillNames[] = {"FCLEAR", "FSOLID", "FHORIZ", "FVERT", "FDIAG", "BDIAG", "CROSS", "DCROSS"};
  QList<QImage> seen;
  for (int i = 7; i >= 0; --i) {
    fills->setCurrentIndex(i);
    const QImage shown = fillPicture->pixmap().toImage();
    EXPECT_EQ(shown, picture(fillNames[i])) << i;
    EXPECT_EQ(shown.size(), QSize(20, 20));
    EXPECT_FALSE(seen.contains(shown));
    seen << shown;
  }
  const std::pair<const char*, TDrawKind> kinds[] = {
      {" Rectangle", TDrawKind::dkRectangle}, {" Ellipse", TDrawKind::dkEllipse}, {" Line", TDrawKind::dkLine}};
  for (const auto& [text, kind] : kinds) {
    shapes->setEditText(text);
    EXPECT_EQ(p.e.frame.EditorState.DrawKind, kind) << text;
  }
  EXPECT_EQ(picture("EL").size(), QSize(18, 18));
  EXPECT_EQ(picture("RECT").size(), QSize(20, 20));

  // A text that names no shape: the Draw press takes its undo copy and draws nothing.
  shapes->setEditText(" Ellipse ");
  EXPECT_EQ(p.e.frame.EditorState.DrawKind, TDrawKind::dkNone);
  shapes->setEditText("foo");
  EXPECT_EQ(p.e.frame.EditorState.DrawKind, TDrawKind::dkNone);
  EXPECT_EQ(shapePicture->pixmap().toImage(), picture("LINE"));
  p.Control<QToolButton>("SpeedButton1")->click();
  p.Press(10, 10);
  p.Drag(40, 30);
  p.Release(40, 30);
  EXPECT_TRUE(p.e.frame.EditorState.UndoAvailable);
  EXPECT_TRUE(p.Changed().empty());
  // The art pattern list's change applies the shape list again.
  {
    const QSignalBlocker quiet(shapes);
    shapes->setEditText(" Rectangle");
  }
  p.Control<QComboBox>("ComboBox3")->setCurrentIndex(2);
  EXPECT_EQ(p.e.frame.EditorState.DrawKind, TDrawKind::dkRectangle);
}

}  // namespace
}  // namespace quillet::test
