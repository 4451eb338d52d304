// Entry point of the editor: until the frame window exists it opens one image
// view per file named on the command line, read through the engine.
#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <QScreen>

#include <vector>

#include "imaging/core/math.h"
#include "imaging/core/startup_metrics.h"
#include "imaging/core/system_colors.h"
#include "imaging/view/qt/ziridev.h"

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

quillet::TBGR ColorOf(const QColor& c) { return quillet::MakeBGR(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())); }

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

// Scroll bars, wheel zoom and rectangle selection; a large image starts fitted.
void ShowView(quillet::TZiridEv& view) {
  view.SetScrollBars(quillet::TScrollStyle::ssBoth);
  view.SetMouseInteract(quillet::miSelect);
  const QSize image(int(view.Bitmap().Width()), int(view.Bitmap().Height()));
  const QSize room = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableSize() * 3 / 4
                                                       : QSize(1024, 768);
  view.resize(image.boundedTo(room).expandedTo(QSize(200, 150)));
  view.show();
  if (image.width() > room.width() || image.height() > room.height()) view.Fit();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Brenmor Quillet 5.1");
  TakeStartupMetrics();
  TakeSystemColors();

  std::vector<quillet::TZiridEv*> windows;
  for (const QString& file : QApplication::arguments().mid(1)) {
    auto* view = new quillet::TZiridEv;
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowTitle(file);
    view->LoadFromFile(file.toStdString());
    if (view->IO().Aborting) {
      QMessageBox::warning(nullptr, "Warning",
                           QString("Cannot open %1: %2").arg(file, QString::fromStdString(view->IO().LastError)));
      delete view;
      continue;
    }
    ShowView(*view);
    windows.push_back(view);
  }
  if (windows.empty()) {
    if (argc > 1) return 1;
    QMessageBox::information(nullptr, "Brenmor Quillet 5.1", "Usage: quillet FILE...");
    return 0;
  }
  return app.exec();
}
