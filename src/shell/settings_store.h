#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/result.h"

namespace quillet {

// The per-user store of the program's settings: the registry on Windows
// (HKEY_CURRENT_USER\Software\Harlund\Quillet), a configuration file elsewhere, or a file of
// the tests' own. Values are numbers (32-bit) and strings, read with a default.
//
// A settings file that exists but is not a regular file once links are followed (a link to a
// device, the usual way to switch persistence off; a FIFO) is neither read nor written: the
// store then gives the defaults and keeps nothing. A missing file is created when written.
class SettingsStore {
 public:
  // The user's own store.
  SettingsStore();
  // A store in an INI file, for tests.
  explicit SettingsStore(const QString& ini_file);

  // The file of the user's own store where it is a file ($XDG_CONFIG_HOME/Harlund/Quillet.conf),
  // else empty.
  static QString UserFileName();

  // A stored value that is missing, not a number or out of the 32-bit range gives the default.
  int ReadNumber(const QString& name, int default_value) const;
  QString ReadString(const QString& name, const QString& default_value) const;
  void WriteNumber(const QString& name, int value);
  void WriteString(const QString& name, const QString& value);
  // A list of strings (recent files); missing gives an empty list.
  QStringList ReadStringList(const QString& name) const;
  void WriteStringList(const QString& name, const QStringList& values);
  // Writes what was changed to the store now, or says why it could not.
  [[nodiscard]] Status Sync();

 private:
  std::unique_ptr<QSettings> settings_;  // null when the file is left alone
};

}  // namespace quillet
