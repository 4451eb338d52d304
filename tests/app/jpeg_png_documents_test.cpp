// JPEG photographs and transparent PNG pictures in document windows: opened
// with the pixels the reference decoder gives, the PNG drawn over the view's
// background, and saved as files the reference decoder reads back.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "document_files.h"
#include "support/test_support.h"

namespace quillet::test {
namespace {

// A 37 x 23 picture from Pillow as a JPEG, and a PNG whose left half is clear.
struct Pictures {
  Pictures() {
    const std::string source = MakeOraclePicture(dir);
    RunPython("from PIL import Image\n"
              "im = Image.open(r'''" + source + "''')\n"
              "im.save(r'''" + jpeg + "''', quality=90)\n"
              "im = im.convert('RGBA')\n"
              "for y in range(23):\n"
              "    for x in range(18):\n"
              "        im.putpixel((x, y), (255, 0, 0, 0))\n"
              "im.save(r'''" + png + "''')\n");
  }
  TempDir dir;
  std::string jpeg = dir.File("photo.jpg"), png = dir.File("clear.png");
};

TEST(JpegPngDocuments, OpenShowsThePhotoAndTheClearPartsShowTheBackground) {
  if (!HavePillow()) GTEST_SKIP() << "no Pillow";
  Pictures pictures;
  Editor e;
  TEditForm* photo = Open(e, pictures.jpeg);
  ASSERT_NE(photo, nullptr);
  EXPECT_TRUE(e.warnings.isEmpty()) << e.warnings.join("; ").toStdString();
  ExpectPillowPixels(photo->ZiridEvView1->Bitmap(), pictures.dir, pictures.jpeg);

  TEditForm* clear = Open(e, pictures.png);
  ASSERT_NE(clear, nullptr);
  const TIEMask& alpha = clear->ZiridEvView1->AlphaChannel();
  EXPECT_EQ(alpha.GetPixel(3, 3), 0);
  EXPECT_EQ(alpha.GetPixel(30, 3), 255);
  clear->ZiridEvView1->SetScrollBars(TScrollStyle::ssNone);
  QApplication::processEvents();
  const QImage shot = clear->ZiridEvView1->grab().toImage();
  const qreal scale = shot.devicePixelRatio();
  EXPECT_EQ(shot.pixelColor(int(3 * scale), int(3 * scale)), QColor(0, 128, 128));  // teal, not red
  const TBGR opaque = clear->ZiridEvView1->Bitmap().Pixel(30, 3);
  const QColor shown = shot.pixelColor(int(30 * scale), int(3 * scale));
  EXPECT_NEAR(shown.red(), opaque.r, 1);  // blending by 255/256 may lose one
  EXPECT_NEAR(shown.green(), opaque.g, 1);
  EXPECT_NEAR(shown.blue(), opaque.b, 1);
}

TEST(JpegPngDocuments, SaveWritesFilesOtherProgramsRead) {
  if (!HavePillow()) GTEST_SKIP() << "no Pillow";
  Pictures pictures;
  Editor e;
  TEditForm* doc = Open(e, pictures.png);
  ASSERT_NE(doc, nullptr);
  e.saveName = QString::fromStdString(pictures.dir.File("copy.png"));
  doc->Save();
  EXPECT_TRUE(e.warnings.isEmpty()) << e.warnings.join("; ").toStdString();
  ExpectPillowPixels(doc->ZiridEvView1->Bitmap(), pictures.dir, pictures.dir.File("copy.png"));
  RawImage rgba;  // the clear half stays clear
  ASSERT_TRUE(PillowDecode(pictures.dir.File("copy.png"), pictures.dir.File("a.pam"), true) &&
              ReadPam(pictures.dir.File("a.pam"), rgba));
  EXPECT_EQ(rgba.At(3, 3)[3], 0);
  EXPECT_EQ(rgba.At(30, 3)[3], 255);

  e.saveName = QString::fromStdString(pictures.dir.File("copy.jpg"));
  doc->Save();
  RawImage jpeg;
  ASSERT_TRUE(PillowDecode(pictures.dir.File("copy.jpg"), pictures.dir.File("j.pam")) &&
              ReadPam(pictures.dir.File("j.pam"), jpeg));
  EXPECT_EQ(jpeg.width, 37);
  EXPECT_EQ(jpeg.height, 23);
  const TBGR c = doc->ZiridEvView1->Bitmap().Pixel(30, 10);
  EXPECT_NEAR(jpeg.At(30, 10)[0], c.r, 40);
  EXPECT_NEAR(jpeg.At(30, 10)[1], c.g, 40);
}

}  // namespace
}  // namespace quillet::test
