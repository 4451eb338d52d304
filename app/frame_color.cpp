// The frame's Color and Effects menus. The adjustments and effects that work
// through the preview dialog arrive with it; their items stand disabled.
#include "app/edit_form.h"
#include "app/frame_form.h"

namespace quillet {

void TFrameForm::Gray8bitClick() { Doc(&TEditForm::ConvertToGray); }
void TFrameForm::Conv24bitClick() { Doc(&TEditForm::ConvertTo24Bit); }
void TFrameForm::NegativeImage1Click() { Doc(&TEditForm::Negative); }

}  // namespace quillet
