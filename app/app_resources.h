// The editor's compiled-in resources (splash picture, icons, help pages):
// registered once before the first use, since they live in a static library.
#pragma once

namespace quillet {

void InitAppResources();

}  // namespace quillet
