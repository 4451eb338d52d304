// The one installer of the engine's coders: the editor calls it at start and
// for every new document window, quillet-cli at start, tests in their fixtures.
#pragma once

namespace quillet {

// Fills the LZW and EXIF coder slots of the engine settings with the coders
// this build has.
void InstallDefaultCoders();

}  // namespace quillet
