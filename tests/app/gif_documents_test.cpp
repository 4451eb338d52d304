// GIF files in document windows: an animated file opens at its first image
// with its transparent pixels showing the background it names, a file with
// no image warns, and Save writes a GIF that Pillow reads back.
#include <gtest/gtest.h>

#include "document_files.h"

namespace quillet::test {
namespace {

TEST(GifDocuments, OpensTheFirstImageOverItsBackgroundAndSavesAsGif) {
  if (!HavePillow()) GTEST_SKIP() << "no Pillow";
  TempDir dir;
  const std::string animated = dir.File("anim.gif"), empty = dir.File("empty.gif");
  // Two 20 x 10 images; index 1 (green) is transparent in the first, whose left half uses it.
  ASSERT_EQ(RunPython("from PIL import Image\n"
                      "a = Image.new('P', (20, 10), 0)\n"
                      "a.putpalette([200, 0, 0, 0, 255, 0, 0, 0, 255])\n"
                      "a.paste(1, (0, 0, 10, 10))\n"
                      "b = a.copy()\n"
                      "b.paste(2, (0, 0, 20, 10))\n"
                      "a.save(r'''" + animated + "''', save_all=True, append_images=[b], transparency=1, duration=50)\n"),
            0);
  WriteFileBytes(empty, {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'});
  Editor e;
  TEditForm* doc = Open(e, animated);
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(e.warnings.isEmpty()) << e.warnings.join("; ").toStdString();
  TZiridEvView& view = *doc->ZiridEvView1;
  EXPECT_EQ(view.Bitmap().Pixel(15, 5), MakeBGR(200, 0, 0));  // image 0, not the blue image 1
  EXPECT_EQ(view.AlphaChannel().GetPixel(3, 3), 0);
  EXPECT_EQ(view.AlphaChannel().GetPixel(15, 3), 255);
  EXPECT_EQ(view.Background(), MakeBGR(0, 255, 0));

  e.saveName = QString::fromStdString(dir.File("copy.gif"));
  doc->Save();
  EXPECT_TRUE(e.warnings.isEmpty()) << e.warnings.join("; ").toStdString();
  ExpectPillowPixels(view.Bitmap(), dir, dir.File("copy.gif"));

  EXPECT_EQ(Open(e, empty), doc);  // no new window
  EXPECT_EQ(e.warnings.size(), 1);
}

}  // namespace
}  // namespace quillet::test
