#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/result.h"

namespace quillet {

// The XDG base directories the desktop's files live in.
struct XdgDirs {
  QString data_home;        // $XDG_DATA_HOME, ~/.local/share
  QString config_home;      // $XDG_CONFIG_HOME, ~/.config
  QStringList data_dirs;    // $XDG_DATA_DIRS, /usr/local/share:/usr/share
  QStringList config_dirs;  // $XDG_CONFIG_DIRS, /etc/xdg
  QStringList desktops;     // $XDG_CURRENT_DESKTOP, lower case, for desktop-specific lists

  static XdgDirs FromEnvironment();
};

// The whole of a regular file; a missing one is empty. A file that is there but cannot be read
// whole (no permission, a read error, a folder or a FIFO in its place) gives why, so what was
// read is never taken for all of it.
[[nodiscard]] Result<QByteArray> ReadFileBytes(const QString& path);
// For looking things up: what cannot be read holds nothing.
QByteArray ReadFileOrEmpty(const QString& path);

// Whole or not at all; a symbolic link is written through, and a name that leads to anything
// but a regular file is refused, never replaced. Makes the folder if needed.
[[nodiscard]] Status WriteFileBytes(const QString& path, const QByteArray& bytes);
// A file that is not there is no failure.
[[nodiscard]] Status RemoveFile(const QString& path);

// Runs one of the desktop's database tools on `dir` (update-mime-database, ...). A tool that is
// not installed is no failure: the desktop then reads the files as they are. One that fails,
// hangs or crashes is.
[[nodiscard]] Status RunDatabaseTool(const QString& name, const QString& dir);

}  // namespace quillet
