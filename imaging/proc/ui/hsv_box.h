// THSVBox: the colour picker of the preview dialog: a saturation/value square
// for the current hue, a gap, and a hue bar, each picked with the left button.
#pragma once

#include <QColor>
#include <algorithm>
#include <cstdint>
#include <functional>

#include "imaging/proc/ui/buffered_control.h"

namespace quillet {

class THSVBox : public TBufferedControl {
  Q_OBJECT

 public:
  explicit THSVBox(QWidget* parent = nullptr);

  QSize sizeHint() const override { return {105, 105}; }

  // Hue 0..359, saturation and value 0..99; a setter limits its value and
  // recomputes the colour.
  int Hue() const { return hue_; }
  int Sat() const { return sat_; }
  int Val() const { return val_; }
  void SetHue(int hue);
  void SetSat(int sat);
  void SetVal(int val);

  uint8_t Red() const { return red_; }
  uint8_t Green() const { return green_; }
  uint8_t Blue() const { return blue_; }
  QColor Color() const { return QColor(red_, green_, blue_); }
  // The colour as given, and its hue, saturation and value.
  void SetColor(uint8_t r, uint8_t g, uint8_t b);
  void SetColor(const QColor& color) { SetColor(color.red(), color.green(), color.blue()); }

  // The gap's colour; the button face at first.
  QColor Background() const { return background_; }
  void SetBackground(const QColor& color);
  // Negative widths are ignored.
  int HueBarWidth() const { return hueBarWidth_; }
  void SetHueBarWidth(int width);
  int BarsDistance() const { return barsDistance_; }
  void SetBarsDistance(int distance);

  // The user picked a colour.
  std::function<void(THSVBox* sender)> OnChange;

 protected:
  void Draw(QImage& drawing) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class TDrag { None, Square, HueBar };

  // Width of the square and left of the hue bar.
  int SquareWidth() const { return width() - barsDistance_ - hueBarWidth_; }
  int HueBarLeft() const { return std::max(0, width() - hueBarWidth_); }
  // Parts under 2 pixels in a direction are neither drawn nor picked.
  bool SquareShown() const { return SquareWidth() >= 2 && height() >= 2; }
  bool HueBarShown() const { return width() - HueBarLeft() >= 2 && height() >= 2; }
  void DrawSquare(QImage& drawing) const;
  void DrawHueBar(QImage& drawing) const;
  void DrawMarkers(QImage& drawing) const;
  // The colour of the current hue, saturation and value, then a redraw.
  void HSVChanged();
  // Picks at a point of the control with the part being dragged.
  void Pick(QPoint point);

  int hue_ = 0, sat_ = 0, val_ = 0;
  uint8_t red_ = 0, green_ = 0, blue_ = 0;
  QColor background_;
  int hueBarWidth_ = 20;
  int barsDistance_ = 5;
  TDrag drag_ = TDrag::None;
};

}  // namespace quillet
