#include "app/file_filters.h"

#include <QStringList>

#include "imaging/io/format_filter.h"

namespace quillet {

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';');
    // Linux names are case-sensitive; files written elsewhere often have upper-case extensions.
    for (const QString& p : parts[i + 1].split(';'))
      if (p != "*.*" && p.toUpper() != p) patterns << p.toUpper();
    entries << QString("%1 (%2)").arg(parts[i], patterns.join(' '));
  }
  return entries.join(";;");
}

QString OpenFilter() { return QtFileFilter(OpenDialogFilter(false)); }

QString SaveFilter() { return QtFileFilter("All files|*.*|" + SaveDialogFilter()); }

}  // namespace quillet
