// A format added by registering one description is served everywhere the
// table is read: extension and content look-ups, reading, the dialog filters
// and the `formats` listing.
#include <gtest/gtest.h>

#include <array>

#include "cli/commands.h"
#include "imaging/core/engine_settings.h"
#include "imaging/io/default_coders.h"
#include "imaging/io/format_detect.h"
#include "imaging/io/format_filter.h"
#include "imaging/io/format_table.h"
#include "imaging/io/ziridev_io.h"

namespace quillet::test {
namespace {

constexpr int32_t ftQTR = 100;

// "QTR1", a width and a height byte, then one grey byte per pixel.
bool IsQtr(TIEStream& s) { return StreamStartsWith(s, "QTR1", 4, 0); }

void ReadQtr(TIOReadArgs& a) {
  uint8_t head[6];
  a.Stream.ReadExact(head, 6);
  a.Params.Width = head[4], a.Params.Height = head[5];
  if (a.ParamsOnly) return;
  a.Bitmap.Resize(head[4], head[5], TIEPixelFormat::pf24bit);
  for (int y = 0; y < head[5]; ++y)
    for (int x = 0; x < head[4]; ++x) {
      uint8_t v = 0;
      a.Stream.ReadExact(&v, 1);
      std::fill_n(a.Bitmap.ScanLine(y) + 3 * x, 3, v);
    }
}

constexpr std::array kQtrTests{TIOContentTest{.Order = 200, .Accepts = IsQtr}};
const TFileFormatInfo QTRFormat{
    .TypeCode = ftQTR, .Name = "Test Raster", .Extensions = "QTR", .Tests = kQtrTests, .ReadProc = ReadQtr};

TEST(FormatRegistration, OneLineServesEveryLookUp) {
  RegisterFormat(QTRFormat);
  EXPECT_EQ(FindFormatByExtension("qtr"), &QTRFormat);
  EXPECT_EQ(FileTypeOfName("/tmp/a.QTR"), ftQTR);

  const uint8_t file[] = {'Q', 'T', 'R', '1', 2, 1, 10, 200};
  TIEMemoryStream stream(file, sizeof file);
  EXPECT_EQ(DetectStreamFormat(stream), ftQTR);
  TIEWorkingBitmap bitmap;
  TZiridEvIO io;
  io.SetAttachedBitmap(&bitmap);
  io.LoadFromStream(stream);
  ASSERT_FALSE(io.Aborting) << io.LastError;
  EXPECT_EQ(io.Params.FileType, ftQTR);
  EXPECT_EQ(bitmap.ScanLine(0)[3], 200);

  EXPECT_NE(OpenDialogFilter(false).find(";*.qtr|"), std::string::npos);
  EXPECT_NE(OpenDialogFilter(false).find("|Test Raster (QTR)|*.qtr"), std::string::npos);
  EXPECT_EQ(SaveDialogFilter().find("qtr"), std::string::npos);  // it has no writer

  testing::internal::CaptureStdout();
  cli::RunFormats();
  EXPECT_NE(testing::internal::GetCapturedStdout().find("100\tTest Raster\tQTR\tread\t-"), std::string::npos);
}

TEST(FormatFilter, ListsWhatCanBeReadAndWritten) {
  EXPECT_EQ(SaveDialogFilter(),
            "TIFF Bitmap (TIF;TIFF)|*.tif;*.tiff|JPEG Bitmap (JPG;JPEG;JPE)|*.jpg;*.jpeg;*.jpe|PaintBrush (PCX)|*.pcx|"
            "Windows Bitmap (BMP;DIB;RLE)|*.bmp;*.dib;*.rle|Portable Network Graphics (PNG)|*.png|"
            "Targa Bitmap (TGA;TARGA;VDA;ICB;VST;PIX)|*.tga;*.targa;*.vda;*.icb;*.vst;*.pix|"
            "Portable Pixmap, GreyMap, BitMap (PXM;PPM;PGM;PBM;PNM)|*.pxm;*.ppm;*.pgm;*.pbm;*.pnm");
  const std::string open = OpenDialogFilter(true);
  const std::string all =
      "All graphics|*.tif;*.tiff;*.jpg;*.jpeg;*.jpe;*.pcx;*.bmp;*.dib;*.rle;*.ico;*.cur;*.png;"
      "*.tga;*.targa;*.vda;*.icb;*.vst;*.pix;*.pxm;*.ppm;*.pgm;*.pbm;*.pnm;";
  EXPECT_EQ(open.rfind(all, 0), 0u) << open;
  EXPECT_NE(open.find("|Windows Cursor (CUR)|*.cur|"), std::string::npos);
  EXPECT_NE(open.find(";*.avi|"), std::string::npos);
  EXPECT_EQ(open.substr(open.size() - 30), "|Video for Windows (AVI)|*.avi");
  // GIF shows once its LZW coders are installed.
  InstallDefaultCoders();
  EXPECT_NE(SaveDialogFilter().find("|CompuServe Bitmap (GIF)|*.gif|JPEG"), std::string::npos);
  EXPECT_EQ(OpenDialogFilter(false).rfind("All graphics|*.tif;*.tiff;*.gif;*.jpg", 0), 0u);
  SetLzwSlots({});
}

}  // namespace
}  // namespace quillet::test
