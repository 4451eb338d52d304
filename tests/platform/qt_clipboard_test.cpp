// The desktop clipboard port: our blocks come back unchanged and 1-bit, other
// programs see a standard image, and images other programs offer (with
// transparency, in black and white, or with our own type) become blocks.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "imaging/proc/dib_block.h"
#include "platform/qt_clipboard.h"

namespace quillet {
namespace {

TIEWorkingBitmap Colours(int w, int h) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = uint8_t(40 * x), p[1] = uint8_t(60 * y), p[2] = uint8_t(7 * x + y);
    }
  return b;
}

TIEWorkingBitmap Read(const std::vector<uint8_t>& block) {
  TIEWorkingBitmap b;
  EXPECT_TRUE(ReadDibBlock(block, b));
  return b;
}

// Puts data on the clipboard the way another program's offer arrives.
void Offer(QMimeData* data) { QGuiApplication::clipboard()->setMimeData(data); }

TEST(QtClipboard, OurBlockComesBackAsItWent) {
  TQtClipboard port;
  TIEWorkingBitmap bw(13, 3, TIEPixelFormat::pf1bit);
  SetBit(bw.ScanLine(1), 4, false);
  const std::vector<uint8_t> block = WriteDibBlock(bw);
  ASSERT_TRUE(port.SetDib(block));
  EXPECT_TRUE(port.HasBitmap());
  EXPECT_EQ(port.GetDib(), block);

  // What other programs get: the same pixels as a standard black-and-white image.
  const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(offered->hasImage());
  const QImage image = qvariant_cast<QImage>(offered->imageData());
  EXPECT_EQ(image.format(), QImage::Format_Mono);
  EXPECT_EQ(image.size(), QSize(13, 3));
  EXPECT_EQ(image.pixel(4, 1), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(5, 1), qRgb(255, 255, 255));

  // Another instance of ours reads the private type, not the image.
  TQtClipboard other;
  EXPECT_EQ(other.GetDib(), block);
  EXPECT_FALSE(port.SetDib({}));
}

TEST(QtClipboard, ColourBlockIsOfferedAsAnImage) {
  TQtClipboard port;
  port.SetDib(WriteDibBlock(Colours(5, 4)));
  const QImage image = qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
  ASSERT_EQ(image.size(), QSize(5, 4));
  const TBGR c = Colours(5, 4).Pixel(3, 2);
  EXPECT_EQ(image.pixel(3, 2), qRgb(c.r, c.g, c.b));
}

TEST(QtClipboard, ForeignImagesBecomeBlocks) {
  TQtClipboard port;
  port.SetDib(WriteDibBlock(Colours(2, 2)));

  QImage argb(3, 1, QImage::Format_ARGB32);
  argb.setPixel(0, 0, qRgba(10, 20, 30, 255));
  argb.setPixel(1, 0, qRgba(0, 0, 0, 0));
  argb.setPixel(2, 0, qRgba(255, 0, 0, 128));
  auto* data = new QMimeData;
  data->setImageData(argb);
  Offer(data);  // the port no longer owns the clipboard
  ASSERT_TRUE(port.HasBitmap());
  TIEWorkingBitmap b = Read(port.GetDib());
  ASSERT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Pixel(0, 0), MakeBGR(10, 20, 30));
  EXPECT_EQ(b.Pixel(1, 0), kWhite);  // transparency over white
  EXPECT_NEAR(b.Pixel(2, 0).g, 127, 2);
  EXPECT_EQ(b.Pixel(2, 0).r, 255);

  // Black and white with white first stays 1-bit and keeps its colours.
  QImage mono(9, 2, QImage::Format_MonoLSB);
  mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mono.fill(0);
  mono.setPixel(6, 1, 1);
  data = new QMimeData;
  data->setImageData(mono);
  Offer(data);
  b = Read(port.GetDib());
  EXPECT_EQ(b.PixelFormat(), TIEPixelFormat::pf1bit);
  EXPECT_EQ(b.Pixel(6, 1), kBlack);
  EXPECT_EQ(b.Pixel(5, 1), kWhite);
}

TEST(QtClipboard, TextIsNoBitmap) {
  TQtClipboard port;
  QGuiApplication::clipboard()->setText("words");
  EXPECT_FALSE(port.HasBitmap());
  EXPECT_TRUE(port.GetDib().empty());
}

}  // namespace
}  // namespace quillet
