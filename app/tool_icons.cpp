#include "app/tool_icons.h"

#include <QStandardPaths>

#include "app/app_resources.h"

namespace quillet {

namespace {

// Platforms without a desktop (offscreen, a bare X server) name no theme and
// may not search the system's icon folders; Breeze fills every gap, so the
// buttons look alike everywhere.
void InstallIconTheme() {
  QStringList paths = QIcon::themeSearchPaths();
  for (const QString& dir :
       QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, "icons", QStandardPaths::LocateDirectory))
    if (!paths.contains(dir)) paths << dir;
  QIcon::setThemeSearchPaths(paths);
  QIcon::setFallbackThemeName("breeze");
  if (QIcon::themeName().isEmpty()) QIcon::setThemeName("hicolor");
  InitAppResources();
}

}  // namespace

QIcon ToolIcon(const char* name) {
  static const bool installed = (InstallIconTheme(), true);
  (void)installed;
  return name[0] == ':' ? QIcon(name) : QIcon::fromTheme(name);
}

QIcon ApplicationIcon() { return ToolIcon(":/quillet.svg"); }

}  // namespace quillet
