#include "shell/recent_files.h"

#include <QFileInfo>

namespace quillet {

QStringList WithRecentFile(QStringList files, const QString& file) {
  files.removeAll(file);
  files.prepend(file);
  while (files.size() > kRecentFiles) files.removeLast();
  return files;
}

std::vector<RecentEntry> RecentMenuEntries(const QStringList& files) {
  std::vector<RecentEntry> entries;
  for (const bool there : {true, false}) {
    for (const QString& file : files) {
      if (QFileInfo(file).isFile() == there) entries.push_back({file, there});
    }
  }
  return entries;
}

}  // namespace quillet
