// Entry point of the editor: until the frame window exists it opens one window
// per image named on the command line, read through the engine.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <vector>

#include "app/image_window.h"
#include "imaging/core/math.h"
#include "imaging/core/startup_metrics.h"
#include "imaging/io/ziridev_io.h"

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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Brenmor Quillet 5.1");
  TakeStartupMetrics();

  std::vector<ImageWindow*> windows;
  for (const QString& file : QApplication::arguments().mid(1)) {
    quillet::TIEWorkingBitmap bitmap;
    quillet::TZiridEvIO io;
    io.SetAttachedBitmap(&bitmap);
    io.LoadFromFile(file.toStdString());
    if (io.Aborting) {
      QMessageBox::warning(nullptr, "Warning",
                           QString("Cannot open %1: %2").arg(file, QString::fromStdString(io.LastError)));
      continue;
    }
    auto* window = new ImageWindow(std::move(bitmap), file);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    windows.push_back(window);
  }
  if (windows.empty()) {
    if (argc > 1) return 1;
    QMessageBox::information(nullptr, "Brenmor Quillet 5.1", "Usage: quillet FILE...");
    return 0;
  }
  return app.exec();
}
