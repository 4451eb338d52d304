#include "app/app_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE names a global function, so it cannot run inside the namespace.
static void InitResourcesOnce() {
  static const bool done = [] {
    Q_INIT_RESOURCE(resources);
    return true;
  }();
  (void)done;
}

namespace quillet {

void InitAppResources() { InitResourcesOnce(); }

}  // namespace quillet
