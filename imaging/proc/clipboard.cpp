#include "imaging/proc/clipboard.h"

namespace quillet {

namespace {

TIEClipboard* installed = nullptr;

}  // namespace

TIEClipboard& SystemClipboard() {
  static TIEMemoryClipboard memory;
  return installed ? *installed : memory;
}

void InstallSystemClipboard(TIEClipboard* port) { installed = port; }

}  // namespace quillet
