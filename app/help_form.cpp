#include "app/help_form.h"

#include <QToolBar>
#include <QVBoxLayout>

#include "app/app_resources.h"
#include "app/tool_icons.h"

namespace quillet {

namespace {

const QUrl kContents("qrc:/help/quillet-help.html");

}  // namespace

THelpForm::THelpForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpForm");
  setWindowTitle("Brenmor Quillet 5.1 Help");
  InitAppResources();  // the pages are compiled in
  HelpBrowser = new QTextBrowser;
  HelpBrowser->setObjectName("HelpBrowser");
  HelpBrowser->setOpenExternalLinks(false);
  auto* bar = new QToolBar;
  bar->setIconSize(QSize(22, 22));
  auto button = [bar](const char* name, const char* icon, const QString& hint) {
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setIcon(ToolIcon(icon));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    bar->addWidget(b);
    return b;
  };
  BackButton = button("BackButton", "go-previous", "Back");
  ForwardButton = button("ForwardButton", "go-next", "Forward");
  ContentsButton = button("ContentsButton", "help-contents", "Contents");
  connect(BackButton, &QToolButton::clicked, HelpBrowser, &QTextBrowser::backward);
  connect(ForwardButton, &QToolButton::clicked, HelpBrowser, &QTextBrowser::forward);
  connect(ContentsButton, &QToolButton::clicked, this, [this] { HelpBrowser->setSource(kContents); });
  connect(HelpBrowser, &QTextBrowser::backwardAvailable, BackButton, &QToolButton::setEnabled);
  connect(HelpBrowser, &QTextBrowser::forwardAvailable, ForwardButton, &QToolButton::setEnabled);
  BackButton->setEnabled(false);
  ForwardButton->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(HelpBrowser, 1);
  resize(640, 560);
}

void THelpForm::ShowContents() {
  if (HelpBrowser->source() != kContents) HelpBrowser->setSource(kContents);
  else HelpBrowser->scrollToAnchor("contents");
  show();
  raise();
  activateWindow();
}

}  // namespace quillet
