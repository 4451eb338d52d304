#include "app/work_progress.h"

#include <QApplication>
#include <QKeyEvent>

namespace quillet {

namespace {

// Often enough for the windows to repaint and Esc to be seen, rarely enough
// not to slow the work.
constexpr int kEventsEveryMs = 40;

// Input that could start another command on the image being worked on.
bool HeldBack(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

}  // namespace

TWorkProgress::TWorkProgress(QStatusBar* statusBar) : QObject(statusBar) {
  ProgressBar1 = new QProgressBar;
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setFixedWidth(160);
  ProgressBar1->setMaximumHeight(16);
  ProgressBar1->hide();
  statusBar->addPermanentWidget(ProgressBar1);
}

TWorkProgress::TScope::TScope(TWorkProgress& progress) : progress_(progress) { progress_.Begin(); }
TWorkProgress::TScope::~TScope() { progress_.End(); }

void TWorkProgress::Begin() {
  if (depth_++ > 0) return;
  cancelled_ = false;
  sinceEvents_.invalidate();
  ProgressBar1->setValue(0);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  qApp->installEventFilter(this);
}

void TWorkProgress::End() {
  if (--depth_ > 0) return;
  qApp->removeEventFilter(this);
  QApplication::restoreOverrideCursor();
  ProgressBar1->hide();
}

bool TWorkProgress::Step(int per) {
  if (!Busy() || stepping_) return cancelled_;
  ProgressBar1->setValue(per);
  ProgressBar1->show();
  if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kEventsEveryMs) {
    stepping_ = true;
    QCoreApplication::processEvents();
    stepping_ = false;
    sinceEvents_.restart();
  }
  return cancelled_;
}

bool TWorkProgress::eventFilter(QObject* watched, QEvent* event) {
  if (!HeldBack(event->type())) return QObject::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
    cancelled_ = true;
  return true;
}

}  // namespace quillet
