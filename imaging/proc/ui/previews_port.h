// The effects preview dialog behind the processing component's port.
#pragma once

namespace quillet {

// Makes TZiridEvProc::ShowPreviews open TfPreviews, for the whole process.
void InstallPreviewsDialog();

}  // namespace quillet
