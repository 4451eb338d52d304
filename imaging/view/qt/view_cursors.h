// The view's 18 cursors (identifiers 1778 to 1795): small drawings of our own,
// made once and shared by every view.
#pragma once

#include <QCursor>

namespace quillet {

constexpr int kFirstViewCursor = 1778, kLastViewCursor = 1795;

// The cursor of an identifier, the arrow for an unknown one.
QCursor ViewCursor(int id);
// The resource name under which the cursor is registered.
const char* ViewCursorName(int id);

}  // namespace quillet
