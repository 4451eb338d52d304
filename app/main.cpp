// Entry point of the editor: title, splash window, the windows in their
// order, then the files named on the command line, each in a document window.
#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QThread>

#include "app/about_box.h"
#include "app/frame_form.h"
#include "app/tool_icons.h"
#include "imaging/core/math.h"
#include "imaging/core/engine_settings.h"
#include "imaging/core/system_colors.h"
#include "imaging/io/default_coders.h"
#include "imaging/proc/ui/previews_port.h"
#include "platform/qt_clipboard.h"

namespace {

// The display measurements are taken once, at start.
void TakeStartupMetrics() {
  quillet::TIEStartupMetrics metrics = quillet::StartupMetrics();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    metrics.DpiX = int(quillet::Round(screen->logicalDotsPerInchX()));
    metrics.DpiY = int(quillet::Round(screen->logicalDotsPerInchY()));
  }
  quillet::SetStartupMetrics(metrics);
}

quillet::TBGR ColorOf(const QColor& c) {
  return quillet::MakeBGR(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}

// The views paint their frames and empty areas in the desktop's colours.
void TakeSystemColors() {
  const QPalette palette = QApplication::palette();
  quillet::TIEViewSystemColors colors;
  colors.ButtonFace = ColorOf(palette.color(QPalette::Button));
  colors.ButtonShadow = ColorOf(palette.color(QPalette::Mid));
  colors.ButtonDarkShadow = ColorOf(palette.color(QPalette::Shadow));
  colors.ButtonLight = ColorOf(palette.color(QPalette::Midlight));
  colors.ButtonHighlight = ColorOf(palette.color(QPalette::Light));
  quillet::SetViewSystemColors(colors);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Brenmor Quillet 5.1");
  QApplication::setDesktopFileName("quillet");
  QApplication::setWindowIcon(quillet::ApplicationIcon());
  quillet::InstallDefaultCoders();
  TakeStartupMetrics();
  TakeSystemColors();
  quillet::TQtClipboard clipboard;  // copy and paste go through the desktop's clipboard
  quillet::InstallSystemClipboard(&clipboard);
  quillet::InstallPreviewsDialog();

  auto* splash = new quillet::TSplashForm;
  splash->show();
  splash->repaint();
  QApplication::processEvents();
  QThread::msleep(3000);

  quillet::TFrameForm frame;
  frame.showMaximized();
  delete splash;

  // A file that cannot be read is reported and skipped; the editor starts all the same.
  for (const QString& file : QApplication::arguments().mid(1)) frame.RunCommand([&] { frame.OpenDocument(file); });
  const int code = app.exec();
  quillet::InstallSystemClipboard(nullptr);
  return code;
}
