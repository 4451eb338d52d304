// The engine-wide start-up measurements.
#include "imaging/core/startup_metrics.h"

namespace quillet {

namespace {
TIEStartupMetrics gMetrics;
}

const TIEStartupMetrics& StartupMetrics() { return gMetrics; }

void SetStartupMetrics(const TIEStartupMetrics& m) {
  if (m.DpiX > 0) gMetrics.DpiX = m.DpiX;
  if (m.DpiY > 0) gMetrics.DpiY = m.DpiY;
  if (m.EdgeX >= 0) gMetrics.EdgeX = m.EdgeX;
  if (m.EdgeY >= 0) gMetrics.EdgeY = m.EdgeY;
}

}  // namespace quillet
