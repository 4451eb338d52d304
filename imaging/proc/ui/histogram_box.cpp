#include "imaging/proc/ui/histogram_box.h"

#include <QPainter>
#include <algorithm>
#include <array>

#include "imaging/core/math.h"

namespace quillet {

namespace {

struct TKindPlot {
  int Kind;
  uint32_t THistogramEntry::*Count;
  QColor Pen;
};

// Drawn in this order, each over the ones before.
const std::array<TKindPlot, 4> kKindPlots = {{
    {hkRed, &THistogramEntry::Red, QColor(255, 0, 0)},
    {hkGreen, &THistogramEntry::Green, QColor(0, 128, 0)},
    {hkBlue, &THistogramEntry::Blue, QColor(0, 0, 255)},
    {hkGray, &THistogramEntry::Gray, QColor(0, 0, 0)},
}};

}  // namespace

// The plot's left, width and height once the colour bar and labels have
// their room; CountLabelsHeight is the height the count labels divide.
struct THistogramBox::TPlot {
  int Left = 0, Width = 0, Height = 0;
  int CountLabelsHeight = 0;
  int BarHeight = 0;
};

THistogramBox::THistogramBox(QWidget* parent) : TBufferedControl(parent) {
  resize(sizeHint());
  Redraw();
}

THistogramBox::~THistogramBox() {
  if (proc_) proc_->RemoveFreeListener(this);
}

void THistogramBox::SetAttachedZiridEvProc(TZiridEvProc* proc) {
  if (proc_) proc_->RemoveFreeListener(this);
  proc_ = proc;
  if (proc_)
    proc_->AddFreeListener(
        [this](TZiridEvProc*) {
          proc_ = nullptr;
          Redraw();
        },
        this);
  Redraw();
}

void THistogramBox::SetBackground(const QColor& color) {
  background_ = color;
  Redraw();
}

void THistogramBox::SetHistogramKind(int kinds) {
  kind_ = kinds;
  Redraw();
}

void THistogramBox::SetLabels(int labels) {
  labels_ = labels;
  Redraw();
}

void THistogramBox::SetCompBar(bool on) {
  compBar_ = on;
  Redraw();
}

void THistogramBox::SetHistogramStyle(THistogramStyle style) {
  style_ = style;
  Redraw();
}

void THistogramBox::Draw(QImage& drawing) {
  drawing.fill(background_);
  plotLeft_ = 0;
  const TIEWorkingBitmap* image = proc_ ? proc_->AttachedBitmap() : nullptr;
  if (!image || image->Width() <= 0 || image->Height() <= 0) return;
  TIEHistogram histogram;
  proc_->GetHistogram(histogram);
  uint32_t max = 0;
  for (const TKindPlot& k : kKindPlots)
    if (kind_ & k.Kind)
      for (const THistogramEntry& e : histogram) max = std::max(max, e.*k.Count);
  if (max == 0) return;

  const QFontMetrics fm = fontMetrics();
  TPlot plot{0, width(), height(), 0, int(Trunc(fm.height() * 1.2))};
  if (compBar_) plot.Height -= plot.BarHeight + 2;
  plot.CountLabelsHeight = plot.Height;
  if (labels_ & hlVertical) {
    const int room = fm.horizontalAdvance(QString::number(max)) + 2;
    plot.Width -= room;
    plot.Left += room;
  }
  if (labels_ & hlHorizontal) plot.Height -= fm.height() + 2;
  // A control too small for its labels shows no plot at all.
  if (plot.Width <= 0 || plot.Height <= 0) return;
  plotLeft_ = plot.Left;

  QPainter painter(&drawing);
  DrawLabels(painter, plot, max);
  if (compBar_) DrawCompBar(painter, plot);
  DrawCounts(painter, plot, histogram, max);
}

void THistogramBox::DrawLabels(QPainter& painter, const TPlot& plot, uint32_t max) const {
  painter.setPen(palette().color(QPalette::WindowText));
  const QFontMetrics fm = fontMetrics();
  auto text = [&](int x, int top, const QString& s) { painter.drawText(x, top + fm.ascent(), s); };
  if (labels_ & hlVertical) {
    text(0, plot.CountLabelsHeight / 2, QString::number(max / 2));
    text(0, 0, QString::number(max));
  }
  if (labels_ & hlHorizontal) {
    const int top = plot.CountLabelsHeight - fm.height() - 1;
    for (int i = 0; i < 4; ++i)
      text(int(Round(i * 64 / 256.0 * plot.Width)) + plot.Left, top, QString::number(i * 64));
    text(plot.Left + plot.Width - fm.horizontalAdvance("255"), top, "255");
    const int axisLeft = plot.Left - 1;
    painter.drawLine(axisLeft, 0, axisLeft, plot.Height);
    painter.drawLine(axisLeft, plot.Height, plot.Left + plot.Width, plot.Height);
  }
}

// Black to full along the plot, in the channels plotted (grey counts for all three).
void THistogramBox::DrawCompBar(QPainter& painter, const TPlot& plot) const {
  const bool gray = kind_ & hkGray;
  const bool red = gray || (kind_ & hkRed), green = gray || (kind_ & hkGreen), blue = gray || (kind_ & hkBlue);
  for (int e = 0; e < plot.Width; ++e) {
    const int level = int(std::min<int64_t>(255, Round(double(e) / plot.Width * 256)));
    const QColor c(red ? level : 0, green ? level : 0, blue ? level : 0);
    painter.fillRect(plot.Left + e, height() - plot.BarHeight, 1, plot.BarHeight, c);
  }
}

void THistogramBox::DrawCounts(QPainter& painter, const TPlot& plot, const TIEHistogram& histogram,
                               uint32_t max) const {
  auto rise = [&](const THistogramEntry& entry, const TKindPlot& k) {
    return int(Round(double(entry.*k.Count) / max * plot.Height));
  };
  for (const TKindPlot& k : kKindPlots) {
    if (!(kind_ & k.Kind)) continue;
    if (style_ == THistogramStyle::hsBars) {
      // From the bottom row up to the count, both ends included.
      for (int e = 0; e < plot.Width; ++e) {
        const int r = rise(histogram[size_t(e * 256 / plot.Width)], k);
        painter.fillRect(plot.Left + e, plot.Height - r - 1, 1, r + 1, k.Pen);
      }
      continue;
    }
    QPolygon line;
    line << QPoint(plot.Left, plot.Height - 1);
    for (int e = 0; e < plot.Width; ++e)
      line << QPoint(plot.Left + e, plot.Height - rise(histogram[size_t(e * 256 / plot.Width)], k) - 1);
    painter.setPen(k.Pen);
    painter.drawPolyline(line);
  }
}

}  // namespace quillet
