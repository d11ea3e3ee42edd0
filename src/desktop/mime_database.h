#pragma once

#include <QString>
#include <QStringList>

#include "desktop/xdg_files.h"

namespace quillet {

// What the desktop's MIME database and application lists say, read from the files as a
// freedesktop.org desktop reads them. Only looks; what cannot be read counts as not there.
class XdgMimeDatabase {
 public:
  explicit XdgMimeDatabase(XdgDirs dirs) : dirs_(std::move(dirs)) {}

  // Every MIME type the desktop may give files ending in `extension`: those of the heaviest
  // glob in the compiled databases, the user's first; else `uncompiled` when that is not empty
  // (a package of Quillet's whose database was never compiled).
  QStringList ResolvedMimeTypes(const QString& extension, const QString& uncompiled) const;
  // The desktop entry that opens `mime_type` by default, or empty.
  QString DefaultApplication(const QString& mime_type) const;
  // Where the desktop entry `desktop_id` is installed, or empty.
  QString FindDesktopFile(const QString& desktop_id) const;
  // The entry's Name, or its ID when it has none.
  QString ApplicationName(const QString& desktop_id) const;

 private:
  XdgDirs dirs_;
};

}  // namespace quillet
