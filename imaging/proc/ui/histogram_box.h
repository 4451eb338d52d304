// THistogramBox: the histogram of the image of a processing component, as
// bars or lines per channel, with level and count labels and a colour bar.
#pragma once

#include <QColor>

#include "imaging/proc/colour_histogram.h"
#include "imaging/proc/ui/buffered_control.h"
#include "imaging/proc/ziridev_proc.h"

namespace quillet {

// The channels plotted, a set.
enum THistogramKind : int { hkRed = 1, hkGreen = 2, hkBlue = 4, hkGray = 8 };
// The labels shown, a set: counts at the left, levels under the plot.
enum THistogramLabels : int { hlVertical = 1, hlHorizontal = 2 };
enum class THistogramStyle { hsBars, hsLines };

class THistogramBox : public TBufferedControl {
  Q_OBJECT

 public:
  explicit THistogramBox(QWidget* parent = nullptr);
  ~THistogramBox() override;

  QSize sizeHint() const override { return {256, 105}; }

  // The component whose histogram is shown; let go of when it is destroyed.
  TZiridEvProc* AttachedZiridEvProc() const { return proc_; }
  void SetAttachedZiridEvProc(TZiridEvProc* proc);

  QColor Background() const { return background_; }
  void SetBackground(const QColor& color);
  int HistogramKind() const { return kind_; }
  void SetHistogramKind(int kinds);
  int Labels() const { return labels_; }
  void SetLabels(int labels);
  // A ramp of the plotted channels under the plot.
  bool CompBar() const { return compBar_; }
  void SetCompBar(bool on);
  THistogramStyle HistogramStyle() const { return style_; }
  void SetHistogramStyle(THistogramStyle style);

  // Draws again, for an image that changed.
  void Update() { Redraw(); }
  // Where the plot starts, in the parent's coordinates: rulers under the
  // plot line up with it.
  int PlotOriginX() const { return x() + plotLeft_; }

 protected:
  void Draw(QImage& drawing) override;

 private:
  struct TPlot;
  void DrawLabels(QPainter& painter, const TPlot& plot, uint32_t max) const;
  void DrawCompBar(QPainter& painter, const TPlot& plot) const;
  void DrawCounts(QPainter& painter, const TPlot& plot, const TIEHistogram& histogram, uint32_t max) const;

  TZiridEvProc* proc_ = nullptr;
  QColor background_ = Qt::white;
  int kind_ = hkGray;
  int labels_ = hlVertical | hlHorizontal;
  bool compBar_ = true;
  THistogramStyle style_ = THistogramStyle::hsBars;
  int plotLeft_ = 0;
};

}  // namespace quillet
