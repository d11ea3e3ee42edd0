#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace quillet {

// The files last loaded into a slot, newest first, at most ten; a file loaded again moves to
// the front.
inline constexpr int kRecentFiles = 10;

QStringList WithRecentFile(QStringList files, const QString& file);

// A slot's drop-down: the files that are there first, newest first, then those that are gone,
// which are shown but cannot be chosen.
struct RecentEntry {
  QString file;
  bool exists = true;
};
std::vector<RecentEntry> RecentMenuEntries(const QStringList& files);

}  // namespace quillet
