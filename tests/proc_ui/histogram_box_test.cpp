// The histogram control: each channel in its colour, the colour bar, and
// nothing but the background without an image or without room for a plot.
#include <gtest/gtest.h>

#include <memory>

#include "imaging/proc/ui/histogram_box.h"

namespace quillet {

namespace {

const QColor kRed(255, 0, 0), kDarkGreen(0, 128, 0), kBlue(0, 0, 255), kBlack(0, 0, 0), kWhite(255, 255, 255);

// A histogram box over a 4 x 4 image of one colour, one plot column a level.
struct Shown {
  explicit Shown(TBGR colour) : image(4, 4, TIEPixelFormat::pf24bit) {
    image.Fill(colour);
    proc->SetAttachedBitmap(&image);
    box.SetLabels(0);
    box.SetCompBar(false);
    box.SetHistogramKind(hkRed | hkGreen | hkBlue | hkGray);
    box.SetAttachedZiridEvProc(proc.get());
  }
  QColor At(int x, int y) const { return box.Drawing().pixelColor(x, y); }
  bool AllBackground() const {
    const QImage& d = box.Drawing();
    for (int y = 0; y < d.height(); ++y)
      for (int x = 0; x < d.width(); ++x)
        if (d.pixelColor(x, y) != box.Background()) return false;
    return true;
  }

  TIEWorkingBitmap image;
  std::unique_ptr<TZiridEvProc> proc = std::make_unique<TZiridEvProc>();
  THistogramBox box;
};

TEST(HistogramBox, DrawsEachChannelInItsColour) {
  Shown s(MakeBGR(200, 100, 50));  // grey (21 * 200 + 71 * 100 + 7 * 50) / 100 = 116
  EXPECT_EQ(s.box.size(), QSize(256, 105));
  for (const THistogramStyle style : {THistogramStyle::hsBars, THistogramStyle::hsLines}) {
    s.box.SetHistogramStyle(style);
    const int row = style == THistogramStyle::hsBars ? 50 : 0;  // lines rise to the top
    EXPECT_EQ(s.At(200, row), kRed);
    EXPECT_EQ(s.At(100, row), kDarkGreen);
    EXPECT_EQ(s.At(50, row), kBlue);
    EXPECT_EQ(s.At(116, row), kBlack);
    EXPECT_EQ(s.At(10, 50), kWhite);
  }
}

TEST(HistogramBox, ColourBarRampStopsAtFull) {
  Shown s(MakeBGR(9, 9, 9));
  s.box.SetHistogramKind(hkRed);
  s.box.SetCompBar(true);
  s.box.resize(600, 105);  // the last column would be level 256
  s.box.show();
  EXPECT_EQ(s.At(599, 104), kRed);
  EXPECT_EQ(s.At(0, 104), kBlack);
  EXPECT_EQ(s.At(300, 104), QColor(128, 0, 0));
}

TEST(HistogramBox, LabelsMoveThePlotOrigin) {
  Shown s(MakeBGR(9, 9, 9));
  EXPECT_EQ(s.box.PlotOriginX(), 0);
  s.box.move(20, 0);
  s.box.SetLabels(hlVertical | hlHorizontal);
  EXPECT_GT(s.box.PlotOriginX(), 20 + s.box.fontMetrics().horizontalAdvance("16"));
  EXPECT_EQ(s.At(s.box.PlotOriginX() - 20 - 1, 10), s.box.palette().color(QPalette::WindowText));  // the axis
}

TEST(HistogramBox, OnlyTheBackgroundWithoutAPlot) {
  Shown s(MakeBGR(9, 9, 9));
  s.box.SetBackground(QColor(7, 8, 9));
  EXPECT_FALSE(s.AllBackground());
  s.box.SetLabels(hlVertical | hlHorizontal);
  s.box.SetCompBar(true);
  s.box.show();
  s.box.resize(40, 20);  // too small for the labels and the bar
  EXPECT_TRUE(s.AllBackground());
  s.box.resize(256, 105);
  s.image = TIEWorkingBitmap();  // no image
  s.box.Update();
  EXPECT_TRUE(s.AllBackground());
  s.image = TIEWorkingBitmap(4, 4, TIEPixelFormat::pf24bit);
  s.box.Update();
  EXPECT_FALSE(s.AllBackground());
  s.proc.reset();  // the component goes: the box lets it go
  EXPECT_EQ(s.box.AttachedZiridEvProc(), nullptr);
  EXPECT_TRUE(s.AllBackground());
}

}  // namespace
}  // namespace quillet
