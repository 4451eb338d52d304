// The one installer of the engine's coders: the editor and quillet-cli call
// it once at start, before any window or command runs.
#pragma once

namespace quillet {

// Fills the LZW and EXIF coder slots of the engine settings with the coders
// this build has.
void InstallDefaultCoders();

}  // namespace quillet
