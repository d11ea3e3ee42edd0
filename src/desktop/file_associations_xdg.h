#pragma once

#include <QString>
#include <QStringList>

#include "desktop/file_associations.h"

namespace quillet {

// The XDG base directories the backend works in.
struct XdgDirs {
  QString data_home;        // $XDG_DATA_HOME, ~/.local/share
  QString config_home;      // $XDG_CONFIG_HOME, ~/.config
  QStringList data_dirs;    // $XDG_DATA_DIRS, /usr/local/share:/usr/share
  QStringList config_dirs;  // $XDG_CONFIG_DIRS, /etc/xdg
  QStringList desktops;     // $XDG_CURRENT_DESKTOP, lower case, for desktop-specific lists

  static XdgDirs FromEnvironment();
};

// File types on a freedesktop.org desktop, all in the user's own directories:
// - a shared-mime-info package that gives each registered extension a MIME type of Quillet's,
// - a desktop entry for Quillet that names those MIME types,
// - Quillet as their default application in mimeapps.list.
// The MIME and desktop databases are refreshed when their tools are installed.
class XdgFileAssociations final : public FileAssociations {
 public:
  static constexpr const char* kDesktopId = "quillet.desktop";

  XdgFileAssociations(XdgDirs dirs, QString program_path, bool refresh_databases = true);

  // The default application's name for the extension's MIME type; kQuilletFileDescription when
  // that application is Quillet.
  QString FileTypeDescription(const QString& extension) const override;
  bool RegisterFileType(const QString& extension) override;
  void UnregisterFileType(const QString& extension) override;

  // Quillet's MIME type for an extension: ".fob" gives "application/x-quillet-fob".
  static QString QuilletMimeType(const QString& extension);
  // The MIME type the desktop gives files ending in `extension`, or empty.
  QString MimeTypeOf(const QString& extension) const;
  // The desktop entry that opens `mime_type`, or empty.
  QString DefaultApplication(const QString& mime_type) const;

  QString DesktopEntryPath() const;
  QString MimePackagePath() const;
  QString MimeAppsListPath() const;
  // The desktop entry's text for the MIME types Quillet opens.
  QString DesktopEntry(const QStringList& mime_types) const;
  // `"<program>" %f`, escaped for a desktop entry: the program path is one word whatever it
  // holds.
  static QString ExecLine(const QString& program_path);

 private:
  struct Changes;

  // Every MIME type the desktop may give files ending in `extension`: those of the heaviest
  // glob in the compiled databases, the user's first; else Quillet's when `own` holds it.
  QStringList ResolvedMimeTypes(const QString& extension, const QStringList& own) const;
  void WritePackage(const QStringList& own, Changes& changes) const;
  void WriteEntryAndDefaults(const QStringList& own, const QStringList& taken, QStringList released,
                             Changes& changes) const;
  // The MIME types the desktop entry names, and the ones among them that are Quillet's own.
  QStringList EntryMimeTypes() const;
  QStringList OwnMimeTypes() const;
  QString FindDesktopFile(const QString& desktop_id) const;
  void RefreshMimeDatabase() const;
  void RefreshDesktopDatabase() const;

  XdgDirs dirs_;
  QString program_path_;
  bool refresh_databases_;
};

}  // namespace quillet
