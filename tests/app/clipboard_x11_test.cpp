// Copy and paste with other programs on a real X server: the outer test runs
// the inner ones under xvfb-run on the xcb platform, where xclip stands for
// the other program. Skipped when xvfb-run or xclip is missing.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <cstdlib>
#include <filesystem>

#include "app_fixture.h"
#include "support/test_support.h"

namespace quillet::test {
namespace {

bool InnerRun() { return std::getenv("QUILLET_X11_CLIPBOARD") && QGuiApplication::platformName() == "xcb"; }

// Runs xclip with the event loop turning, so that this process can answer
// xclip's request for what it owns. Returns xclip's output.
QByteArray Xclip(const QStringList& args) {
  QProcess xclip;
  QEventLoop loop;
  QObject::connect(&xclip, &QProcess::finished, &loop, &QEventLoop::quit);
  xclip.start("xclip", args);
  QElapsedTimer clock;
  clock.start();
  while (xclip.state() != QProcess::NotRunning && clock.elapsed() < 20000) loop.processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(xclip.exitCode(), 0) << xclip.readAllStandardError().toStdString();
  return xclip.readAllStandardOutput();
}

TEST(ClipboardInterop, ThroughXclipUnderXvfb) {
  if (InnerRun() || std::getenv("QUILLET_X11_CLIPBOARD")) GTEST_SKIP() << "this is the inner run";
  if (test::Run("command -v xvfb-run >/dev/null && command -v xclip >/dev/null") != 0) GTEST_SKIP() << "no xvfb-run or xclip";
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  TempDir dir;
  const std::string log = dir.File("inner.log"), leaks = dir.File("leaks.supp");
  // The desktop bus library keeps a buffer to the end on an X display.
  WriteFileBytes(leaks, {'l', 'e', 'a', 'k', ':', 'l', 'i', 'b', 'd', 'b', 'u', 's', '\n'});
  const int status = test::Run("xvfb-run -a env QT_QPA_PLATFORM=xcb QUILLET_X11_CLIPBOARD=1 LSAN_OPTIONS=suppressions='" +
                               leaks + "' '" + self +
                         "' --gtest_filter='ClipboardX11.*' >'" + log + "' 2>&1");
  const std::vector<uint8_t> bytes = ReadFileBytes(log);
  const std::string output(bytes.begin(), bytes.end());
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 3 tests"), std::string::npos) << output;
}

TEST(ClipboardX11, CopyReadsBackThroughXclipAsPng) {
  if (!InnerRun()) GTEST_SKIP() << "runs under xvfb-run only";
  Editor e;
  TEditForm* doc = e.New(7, 5);
  TIEWorkingBitmap b(7, 5, TIEPixelFormat::pf24bit);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      uint8_t* p = b.ScanLine(y) + 3 * x;
      p[0] = p[1] = 0, p[2] = uint8_t(30 * x + y);
    }
  doc->ZiridEvView1->Assign(b);
  e.frame.all1Click();
  EXPECT_TRUE(Xclip({"-selection", "clipboard", "-t", "TARGETS", "-o"}).contains("image/png"));
  const QImage png = QImage::fromData(Xclip({"-selection", "clipboard", "-t", "image/png", "-o"}), "PNG");
  ASSERT_EQ(png.size(), QSize(7, 5));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(png.pixel(x, y), qRgb(30 * x + y, 0, 0)) << x << "," << y;
}

TEST(ClipboardX11, ImageCopiedInAnotherProgramPastesAsNewImage) {
  if (!InnerRun()) GTEST_SKIP() << "runs under xvfb-run only";
  Editor e;
  TempDir dir;
  QImage picture(6, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) picture.setPixel(x, y, qRgb(40 * x, 60 * y, 200));
  const QString file = QString::fromStdString(dir.File("picture.png"));
  ASSERT_TRUE(picture.save(file, "PNG"));
  // xclip keeps serving the picture in the background until someone else owns the clipboard.
  ASSERT_EQ(QProcess::execute("xclip", {"-selection", "clipboard", "-t", "image/png", "-i", file}), 0);
  QElapsedTimer clock;
  clock.start();
  while (QGuiApplication::clipboard()->ownsClipboard() && clock.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  e.frame.NewFromClipboard1Click();
  ASSERT_EQ(e.Documents(), 1) << e.warnings.join("; ").toStdString();
  const TIEWorkingBitmap& pasted = e.frame.ActiveDocument()->ZiridEvView1->Bitmap();
  ASSERT_EQ(pasted.Width(), 6);
  ASSERT_EQ(pasted.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(pasted.Pixel(x, y), MakeBGR(uint8_t(40 * x), uint8_t(60 * y), 200));
}

TEST(ClipboardX11, EditorCommandsOnTheDesktopClipboard) {
  if (!InnerRun()) GTEST_SKIP() << "runs under xvfb-run only";
  Editor e;
  TEditForm* doc = e.New(30, 20);
  TIEWorkingBitmap b(30, 20, TIEPixelFormat::pf24bit);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) b.ScanLine(y)[3 * x] = uint8_t(8 * x + y);
  doc->ZiridEvView1->Assign(b);
  const auto image = [](TEditForm* d) -> const TIEWorkingBitmap& { return d->ZiridEvView1->Bitmap(); };

  doc->ZiridEvView1->SelectRectangle(4, 5, 13, 9, false);  // 10 x 5
  doc->ShowSelectionInfo();
  e.frame.Selection1Click();
  e.frame.Asnew1Click();
  TEditForm* pasted = e.frame.ActiveDocument();
  ASSERT_EQ(image(pasted).Width(), 10);
  EXPECT_EQ(image(pasted).Pixel(0, 0), b.Pixel(4, 5));
  e.frame.Undo1Click();  // the paste's undo copy is the same picture
  EXPECT_EQ(image(pasted).Width(), 10);

  e.frame.MdiArea->setActiveSubWindow(e.frame.MdiArea->subWindowList().first());
  doc->ZiridEvView1->SelectRectangle(2, 2, 21, 11, false);  // 20 x 10
  doc->ShowSelectionInfo();
  e.frame.Crop2Click();
  ASSERT_EQ(image(doc).Width(), 20);
  EXPECT_EQ(image(doc).Pixel(0, 0), b.Pixel(2, 2));
  e.frame.Duplicate1Click();
  ASSERT_EQ(e.Documents(), 3);
  EXPECT_EQ(image(e.frame.ActiveDocument()).Width(), 20);
  e.frame.MdiArea->setActiveSubWindow(e.frame.MdiArea->subWindowList().first());
  e.frame.Undo1Click();
  EXPECT_EQ(image(doc).Width(), 30);
  EXPECT_TRUE(e.warnings.isEmpty()) << e.warnings.join("; ").toStdString();
}

}  // namespace
}  // namespace quillet::test
