// TWorkProgress: the sign of long work in the frame: a progress bar in the
// status bar and the busy cursor while a read, a write or an operation runs,
// with the windows repainting meanwhile and Esc asking the work to stop.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProgressBar>
#include <QStatusBar>

namespace quillet {

class TWorkProgress : public QObject {
  Q_OBJECT

 public:
  // Adds the bar (ProgressBar1), hidden, to the right of the status bar.
  explicit TWorkProgress(QStatusBar* statusBar);

  // Marks one piece of work for as long as it lives: busy cursor, Esc
  // watched, other input held back; the bar hides when the outermost ends.
  class TScope {
   public:
    explicit TScope(TWorkProgress& progress);
    ~TScope();
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TWorkProgress& progress_;
  };

  // Shows per percent and lets pending events run now and then. True once
  // Esc was pressed since the work began: the caller stops it.
  bool Step(int per);
  bool Busy() const { return depth_ > 0; }
  // Esc was pressed during the last piece of work.
  bool Cancelled() const { return cancelled_; }

  QProgressBar* ProgressBar1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Begin();
  void End();

  int depth_ = 0;
  bool cancelled_ = false;
  bool stepping_ = false;  // events are being run from a step: no second loop inside
  QElapsedTimer sinceEvents_;
};

}  // namespace quillet
