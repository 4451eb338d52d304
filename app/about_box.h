// TAboutBox and TSplashForm: the About box and the start-up splash window,
// both showing the editor's JPEG picture decoded by the engine.
#pragma once

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <functional>

namespace quillet {

// The picture stored under the resource name "SPLASH", decoded by the
// engine's reader; a null image when it cannot be read.
QImage LoadSplashPicture();

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // Opens the home page or a mail to support when their labels are clicked.
  std::function<bool(const QUrl& url)> OpenUrl;

  QLabel *Image1, *ProductName, *Version, *Notice, *HomePage, *Support;
  QPushButton* OKButton;

 protected:
  // The picture is decoded while the box is shown and released when hidden.
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
};

class TSplashForm : public QWidget {
  Q_OBJECT

 public:
  TSplashForm();
  QLabel* Image1;
};

}  // namespace quillet
