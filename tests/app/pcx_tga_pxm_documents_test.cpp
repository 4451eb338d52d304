// PCX, Targa and portable pixmap files in document windows: File > Open lists
// and opens them with size and resolution in the status bar, and Save under
// their extensions writes files Pillow and netpbm read back.
#include <gtest/gtest.h>

#include "app/file_filters.h"
#include "document_files.h"

namespace quillet::test {
namespace {

struct TOpenCase {
  const char* name;  // file name, made by Pillow from the oracle picture
  const char* status;
};

constexpr TOpenCase kOpens[] = {
    {"picture.pcx", "37x23 pixels  100 dpi"},
    {"picture.ppm", "37x23 pixels  96 dpi"},
};

// Saved copies and the netpbm program that reads them.
constexpr std::pair<const char*, const char*> kSaves[] = {{"copy.pcx", "pcxtoppm"}, {"copy.pgm", "pamtopnm"}};

TEST(PcxTgaPxmDocuments, OpenListsAndOpensThemAndSaveWritesThem) {
  if (!HavePillow() || test::Run("command -v pcxtoppm tgatoppm >/dev/null") != 0) GTEST_SKIP() << "Pillow or netpbm missing";
  const QString filter = OpenFilter();
  for (const char* pattern : {"*.pcx", "*.ppm", "*.pgm", "*.pbm", "*.pnm"})
    EXPECT_TRUE(filter.section(";;", 0, 0).contains(pattern)) << pattern;
  TempDir dir;
  const std::string source = MakeOraclePicture(dir);
  Editor e;
  for (const TOpenCase& c : kOpens) {
    SCOPED_TRACE(c.name);
    const std::string file = dir.File(c.name);
    ASSERT_EQ(RunPython("from PIL import Image\nImage.open(r'''" + source + "''').save(r'''" + file + "''')\n"), 0);
    TEditForm* doc = Open(e, file);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(e.warnings.isEmpty()) << e.warnings.join("; ").toStdString();
    ExpectPillowPixels(doc->ZiridEvView1->Bitmap(), dir, file);
    EXPECT_EQ(doc->StatusPanel[1]->text().toStdString(), c.status);
  }
  // The last document saved in each format: Pillow and netpbm read the picture.
  TEditForm* doc = e.frame.ActiveDocument();
  for (const auto& [name, netpbm] : kSaves) {
    const std::string copy = dir.File(name);
    SCOPED_TRACE(copy);
    e.saveName = QString::fromStdString(copy);
    doc->Save();
    EXPECT_TRUE(e.warnings.isEmpty()) << e.warnings.join("; ").toStdString();
    ExpectPillowPixels(doc->ZiridEvView1->Bitmap(), dir, copy);
    ASSERT_EQ(test::Run(std::string(netpbm) + " " + copy + " > " + dir.File("netpbm.ppm") + " 2>/dev/null"), 0);
    ExpectPillowPixels(doc->ZiridEvView1->Bitmap(), dir, dir.File("netpbm.ppm"));
  }
}

}  // namespace
}  // namespace quillet::test
