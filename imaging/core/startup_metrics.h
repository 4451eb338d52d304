// The display measurements taken once at program start: logical pixels per
// inch (the default DpiX, DpiY of views) and the 3-D edge size.
#pragma once

namespace quillet {

struct TIEStartupMetrics {
  int DpiX = 96, DpiY = 96;
  int EdgeX = 2, EdgeY = 2;
};

// The engine-wide record; 96 dpi and 2-pixel edges until the GUI sets it.
const TIEStartupMetrics& StartupMetrics();
// Called once by the GUI at start-up; a resolution below 1 or a negative
// edge keeps the value it had.
void SetStartupMetrics(const TIEStartupMetrics& metrics);

}  // namespace quillet
