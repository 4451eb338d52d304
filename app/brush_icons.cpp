#include "app/brush_icons.h"

#include <QImage>
#include <QPixmap>

#include "imaging/view/paint_tools.h"

namespace quillet {

namespace {

constexpr int kIconSize = 16;
const TBGR kInk = MakeBGR(0x23, 0x26, 0x29);

// A Brush press at the middle of a white picture; what it painted shows in ink.
QImage StampImage(int index) {
  TIEWorkingBitmap bitmap(kIconSize, kIconSize, TIEPixelFormat::pf24bit);
  bitmap.Fill(kWhite);
  TIECanvas canvas(bitmap);
  TPaintToolState state;
  TPaintOptions options;
  options.PaintColor = kInk;
  options.BrushShape = index;
  TPaintSteps{canvas, state, options}.Press(TPaintTool::ptBrush, {kIconSize / 2, kIconSize / 2});
  QImage image(kIconSize, kIconSize, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < kIconSize; ++y)
    for (int x = 0; x < kIconSize; ++x)
      if (bitmap.Pixel(x, y) == kInk) image.setPixelColor(x, y, QColor(kInk.r, kInk.g, kInk.b));
  return image;
}

}  // namespace

int BrushButtonNumber(int index) { return index == 0 ? 31 : 12 + index; }

QIcon BrushIcon(int index) {
  const QImage stamp = StampImage(index);
  QIcon icon;
  for (int ratio : {1, 2}) {
    QPixmap pixmap = QPixmap::fromImage(stamp.scaled(kIconSize * ratio, kIconSize * ratio));
    pixmap.setDevicePixelRatio(ratio);
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace quillet
