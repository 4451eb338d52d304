// TIFF files in document windows: a fax page and page 0 of a multi-page file
// open with size and resolution shown, Save under a .tif name writes TIFF,
// and replacing a file of several pages asks first.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "imaging/io/ziridev_io.h"
#include "support/test_support.h"

namespace quillet::test {
namespace {

TEST(TiffDocuments, OpenSaveAndTheQuestionBeforeReplacingPages) {
  if (!HavePillow() || test::Run("command -v tiffcp >/dev/null") != 0) GTEST_SKIP() << "no Pillow or tiffcp";
  TempDir dir;
  const std::string fax = dir.File("fax.tif"), pages = dir.File("pages.tif");
  ASSERT_EQ(RunPython("from PIL import Image\n"
                      "im = Image.new('1', (64, 20), 1)\n"
                      "for x in range(10, 40): im.putpixel((x, 5), 0)\n"
                      "im.save(r'''" + fax + "''', compression='group4', dpi=(200, 200))\n"
                      "Image.new('RGB', (30, 10), (200, 10, 10)).save(r'''" + pages + "''', save_all=True,\n"
                      "    append_images=[Image.new('RGB', (5, 5))], compression='tiff_lzw')\n"),
            0);
  Editor e;
  e.openName = QString::fromStdString(fax);
  e.frame.Open1Click();
  TEditForm* doc = e.frame.ActiveDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(e.warnings.isEmpty()) << e.warnings.join("; ").toStdString();
  EXPECT_EQ(doc->ZiridEvView1->Bitmap().Pixel(20, 5), kBlack);
  EXPECT_EQ(doc->StatusPanel[1]->text(), "64x20 pixels  200 dpi");

  e.openName = QString::fromStdString(pages);
  e.frame.Open1Click();
  EXPECT_EQ(e.frame.ActiveDocument()->ZiridEvView1->Bitmap().Width(), 30);

  // Saving the fax over the two-page file: Cancel keeps it, OK replaces it.
  e.saveName = QString::fromStdString(pages);
  e.confirmAnswer = false;
  doc->Save();
  EXPECT_EQ(e.questions.size(), 1);
  EXPECT_EQ(TZiridEvIO::CountTiffImages(pages), 2);
  e.confirmAnswer = true;
  doc->Save();
  EXPECT_EQ(e.questions.size(), 2);
  EXPECT_EQ(TZiridEvIO::CountTiffImages(pages), 1);
  RawImage back;
  ASSERT_TRUE(PillowDecode(pages, dir.File("back.pam")) && ReadPam(dir.File("back.pam"), back));
  EXPECT_EQ(back.width, 64);
  EXPECT_EQ(back.At(20, 5)[0], 0);
  EXPECT_EQ(back.At(20, 6)[0], 255);
}

}  // namespace
}  // namespace quillet::test
