#include "app/about_box.h"

#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>
#include <cstring>

#include "app/app_resources.h"
#include "app/file_filters.h"
#include "imaging/core/stream.h"
#include "imaging/io/ziridev_io.h"

namespace quillet {

namespace {

const char* const kNotice = "Copyright \u00a9 Brenmor\nAll rights reserved.";

QLabel* Label(QWidget* parent, const char* name, const QString& text, int pixels, bool bold = false,
              const QColor& color = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignCenter);
  QFont font = label->font();
  font.setPixelSize(pixels);
  font.setBold(bold);
  label->setFont(font);
  if (color.isValid()) label->setStyleSheet(QString("color: %1").arg(color.name()));
  return label;
}

QLabel* Link(QWidget* parent, const char* name, const QString& url, const QString& text) {
  QLabel* label = Label(parent, name, QString("<a href=\"%1\" style=\"color: blue\">%2</a>").arg(url, text), 12);
  label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  return label;
}

// A 24-bit bitmap's rows are already blue, green, red.
QImage ToQImage(const TIEWorkingBitmap& bitmap) {
  QImage image(int(bitmap.Width()), int(bitmap.Height()), QImage::Format_BGR888);
  for (int y = 0; y < image.height(); ++y) std::memcpy(image.scanLine(y), bitmap.ScanLine(y), size_t(bitmap.Width() * 3));
  return image;
}

void Centre(QWidget* w) {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    w->move(screen->availableGeometry().center() - w->rect().center());
}

}  // namespace

QImage LoadSplashPicture() {
  InitAppResources();
  QFile resource(":/SPLASH");
  if (!resource.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = resource.readAll();
  TIEMemoryStream stream(bytes.constData(), bytes.size());
  TIEWorkingBitmap bitmap;
  TZiridEvIO io;
  io.SetAttachedBitmap(&bitmap);
  io.LoadFromStream(stream);
  if (io.Aborting) return {};
  if (bitmap.PixelFormat() != TIEPixelFormat::pf24bit) bitmap.SetPixelFormat(TIEPixelFormat::pf24bit);
  return ToQImage(bitmap);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("About");
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Image1 = new QLabel(panel);
  Image1->setObjectName("Image1");
  Image1->setFixedSize(399, 344);
  Image1->setScaledContents(true);
  ProductName = Label(panel, "ProductName", "Brenmor Quillet", 24, true, Qt::blue);
  Version = Label(panel, "Version", "Version  5.1", 16);
  Notice = Label(panel, "Copyright", kNotice, 12);
  HomePage = Link(panel, "HomePage", kHomePage, kHomePage);
  Support = Link(panel, "Support", kSupportMail, QString(kSupportMail).mid(7));
  for (QLabel* link : {HomePage, Support})
    connect(link, &QLabel::linkActivated, this, [this](const QString& url) {
      if (OpenUrl) OpenUrl(QUrl(url));
    });
  auto* text = new QVBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{ProductName, Version, Notice})
    text->addWidget(w);
  text->addWidget(Label(panel, "HomePageCaption", "Home Page:", 12));
  text->addWidget(HomePage);
  text->addWidget(Label(panel, "SupportCaption", "Support:", 12));
  text->addWidget(Support);
  auto* row = new QHBoxLayout(panel);
  row->addWidget(Image1);
  row->addLayout(text);
  OKButton = new QPushButton("OK", this);
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  OKButton->setFixedSize(110, 25);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel);
  layout->addWidget(OKButton, 0, Qt::AlignCenter);
  resize(644, 406);
}

void TAboutBox::showEvent(QShowEvent* event) {
  Image1->setPixmap(QPixmap::fromImage(LoadSplashPicture()));
  Centre(this);
  QDialog::showEvent(event);
}

void TAboutBox::hideEvent(QHideEvent* event) {
  Image1->clear();
  QDialog::hideEvent(event);
}

TSplashForm::TSplashForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("SplashForm");
  setFixedSize(424, 408);
  setStyleSheet("background-color: teal");
  auto* bevel = new QFrame(this);
  bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  bevel->setGeometry(0, 0, 424, 408);
  auto* inner = new QFrame(this);
  inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
  inner->setGeometry(5, 5, 414, 358);
  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setGeometry(12, 12, 399, 344);
  Image1->setAlignment(Qt::AlignCenter);
  Image1->setPixmap(QPixmap::fromImage(LoadSplashPicture()));
  QLabel* notice = Label(this, "Copyright", kNotice, 13);
  notice->setGeometry(116, 368, 192, 36);
  Centre(this);
}

}  // namespace quillet
