// The file dialogs' filters, built from the format table in its order:
// "Name|*.a;*.b|Name|*.c|...".
#pragma once

#include <string>

namespace quillet {

// "All graphics" with every readable format's patterns, then one entry per
// readable format; with `video`, AVI files too.
std::string OpenDialogFilter(bool video);
// One entry per format that can be written.
std::string SaveDialogFilter();

}  // namespace quillet
