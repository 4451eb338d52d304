// TRulerBox: a ruler of units with ticks and labels, and grips that the user
// drags along it; dragging past an end scrolls the ruler while the button is held.
#pragma once

#include <QColor>
#include <QPolygon>
#include <QTimer>
#include <functional>
#include <vector>

#include "imaging/proc/ui/buffered_control.h"

namespace quillet {

// Where the grips point: gdUp to a ruler band above them, gdDown below.
enum class TGripsDir { gdUp, gdDown };
// rdVertical runs the units downwards, with the labels turned a quarter.
enum class TRulerDir { rdHorizontal, rdVertical };

class TRulerBox : public TBufferedControl {
  Q_OBJECT

 public:
  explicit TRulerBox(QWidget* parent = nullptr);

  QSize sizeHint() const override { return {300, 40}; }

  // The first unit shown, kept within [ViewMin, ViewMax - visible length]
  // (ViewMin when the view is longer than the range).
  double ViewPos() const { return viewPos_; }
  void SetViewPos(double pos);
  // The range of units; a change sets every grip's limits to it.
  double ViewMin() const { return viewMin_; }
  void SetViewMin(double value);
  double ViewMax() const { return viewMax_; }
  void SetViewMax(double value);
  // Pixels per unit, units between ticks and between labels: values that are
  // not positive are refused.
  double DotPerUnit() const { return dotPerUnit_; }
  void SetDotPerUnit(double value);
  double Frequency() const { return frequency_; }
  void SetFrequency(double value);
  double LabelFreq() const { return labelFreq_; }
  void SetLabelFreq(double value);
  // DotPerUnit made to show the whole range (kept while the range is empty).
  bool FitInView() const { return fitInView_; }
  void SetFitInView(bool on);

  QColor Background() const { return background_; }
  void SetBackground(const QColor& color);
  QColor RulerColor() const { return rulerColor_; }
  void SetRulerColor(const QColor& color);
  // Width of a grip's base and its greatest length; negative values are ignored.
  int GripBaseDim() const { return gripBaseDim_; }
  void SetGripBaseDim(int pixels);
  TGripsDir GripsDir() const { return gripsDir_; }
  void SetGripsDir(TGripsDir dir);
  // Whether the band of ticks and labels is shown.
  bool Ruler() const { return ruler_; }
  void SetRuler(bool on);
  TRulerDir RulerDir() const { return rulerDir_; }
  void SetRulerDir(TRulerDir dir);
  bool HexLabels() const { return hexLabels_; }
  void SetHexLabels(bool on);

  // Negative counts are ignored; new grips sit at ViewMin in the background colour.
  int GripsCount() const { return int(grips_.size()); }
  void SetGripsCount(int count);
  // Writing a position limits it to the grip's limits, fires
  // OnRulerPosChange and repaints. Grips out of range read as 0 and ignore writes.
  double GripPosition(int grip) const;
  void SetGripPosition(int grip, double pos);
  QColor GripColor(int grip) const;
  void SetGripColor(int grip, const QColor& color);
  // Shapes 0..4 (see GripPolygon); others are ignored.
  int GripKind(int grip) const;
  void SetGripKind(int grip, int kind);

  std::function<void(TRulerBox* sender, int grip)> OnRulerPosChange;
  // Pressed and released at the same point.
  std::function<void(TRulerBox* sender, int grip)> OnRulerGripClick;
  std::function<void(TRulerBox* sender, int grip)> OnRulerGripDblClick;
  // Pressed off every grip, at a position in units.
  std::function<void(TRulerBox* sender, double pos)> OnRulerClick;

  // One step of the scroll while a grip is held past an end: what the
  // scroll timer does every 30 ms.
  void ScrollTimerTick();
  bool Scrolling() const { return scrollTimer_.isActive(); }

 protected:
  void Draw(QImage& drawing) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct TGrip {
    double Position = 0;
    QColor Color;
    int Kind = 0;
    double Min = 0, Max = 0;
  };

  // The ruler's own coordinates: u along it, t across it.
  int Length() const { return rulerDir_ == TRulerDir::rdHorizontal ? width() : height(); }
  int Thickness() const { return rulerDir_ == TRulerDir::rdHorizontal ? height() : width(); }
  QPoint Local(QPointF p) const;
  int BandThickness() const;
  int Pixel(double unit) const;
  double Unit(int pixel) const { return pixel / dotPerUnit_ + viewPos_; }
  // ViewPos and, with FitInView, DotPerUnit for the current length and range.
  void Relayout();
  void RangeChanged();
  // Calls draw(pixel, unit) at every multiple of `every` units in view.
  void ForEachMark(double every, const std::function<void(int, double)>& draw) const;
  void DrawBand(QPainter& painter) const;
  void DrawLabel(QPainter& painter, int u, int t, double unit) const;
  QPolygon GripOutline(int grip) const;
  // The topmost grip under a point of the ruler, or -1.
  int GripAt(QPoint local) const;
  void Press(QMouseEvent* event, bool doubleClick);
  // The dragged grip to the mouse, its end of the view while the mouse is past it.
  void FollowMouse();

  double viewPos_ = 0, viewMin_ = 0, viewMax_ = 0;
  double dotPerUnit_ = 1, frequency_ = 10, labelFreq_ = 40;
  bool fitInView_ = false;
  QColor background_, rulerColor_;
  int gripBaseDim_ = 12;
  TGripsDir gripsDir_ = TGripsDir::gdUp;
  bool ruler_ = true;
  TRulerDir rulerDir_ = TRulerDir::rdHorizontal;
  bool hexLabels_ = false;
  std::vector<TGrip> grips_;

  int dragged_ = -1;       // the grip being dragged
  QPoint pressPoint_;      // where it was pressed, in the control's pixels
  double grabOffset_ = 0;  // units from the grip to the mouse
  int mouseU_ = 0;         // the mouse along the ruler, maybe past an end
  QTimer scrollTimer_;
};

}  // namespace quillet
