// TBufferedControl: a control that draws into an off-screen image of its own
// size whenever its state changes, and only copies that image when painted.
#pragma once

#include <QImage>
#include <QWidget>

namespace quillet {

class TBufferedControl : public QWidget {
  Q_OBJECT

 public:
  explicit TBufferedControl(QWidget* parent = nullptr);

  // The off-screen drawing, as the control shows it.
  const QImage& Drawing() const { return drawing_; }

 protected:
  // Draws the whole control again and schedules a repaint.
  void Redraw();
  // Fills the drawing, which has the control's size.
  virtual void Draw(QImage& drawing) = 0;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QImage drawing_;
};

}  // namespace quillet
