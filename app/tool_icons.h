// The pictures of the editor's buttons: icons of the desktop's theme by
// their freedesktop names, Breeze standing in for what the theme lacks, and
// the editor's own flat SVGs for commands no theme draws.
#pragma once

#include <QIcon>

namespace quillet {

// A theme icon name ("document-open") or a resource path (":/icons/wave.svg").
// The theme's search paths and fallback are set up on the first call.
QIcon ToolIcon(const char* name);

// The editor's own icon, for its windows and the desktop entry.
QIcon ApplicationIcon();

}  // namespace quillet
