// The brush panel's buttons: their designer numbers and their pictures, each
// the shape's own stamp as the Brush tool paints it.
#pragma once

#include <QIcon>

namespace quillet {

// The N of SpeedButtonN for the panel's button `index` from the left
// (0-18): SpeedButton31, then SpeedButton13 ... SpeedButton30.
int BrushButtonNumber(int index);

// The stamp at the middle of a 16 x 16 picture, one screen pixel per image
// pixel at every device pixel ratio, so it stays crisp.
QIcon BrushIcon(int index);

}  // namespace quillet
