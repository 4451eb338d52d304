// The engine-wide control colours of the view.
#include "imaging/core/system_colors.h"

namespace quillet {

namespace {
TIEViewSystemColors gColors;
}

const TIEViewSystemColors& ViewSystemColors() { return gColors; }
void SetViewSystemColors(const TIEViewSystemColors& colors) { gColors = colors; }

}  // namespace quillet
