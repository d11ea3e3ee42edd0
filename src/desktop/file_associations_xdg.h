#pragma once

#include <QString>
#include <QStringList>

#include "desktop/desktop_entry.h"
#include "desktop/file_associations.h"
#include "desktop/mime_database.h"
#include "desktop/xdg_files.h"

namespace quillet {

// File types on a freedesktop.org desktop, all in the user's own directories:
// - a shared-mime-info package that gives each registered extension a MIME type of Quillet's,
// - a desktop entry for Quillet that names those MIME types,
// - Quillet as their default application in mimeapps.list.
// The MIME and desktop databases are refreshed when their tools are installed.
class XdgFileAssociations final : public FileAssociations {
 public:
  static constexpr const char* kDesktopId = quillet::kDesktopId;

  XdgFileAssociations(XdgDirs dirs, QString program_path, bool refresh_databases = true);

  // The default application's name for the extension's MIME type; kQuilletFileDescription when
  // that application is Quillet.
  QString FileTypeDescription(const QString& extension) const override;
  // Fails when a file cannot be read or written, a database tool fails, or a list the desktop
  // reads first still names another application.
  [[nodiscard]] Status RegisterFileType(const QString& extension) override;
  [[nodiscard]] Status UnregisterFileType(const QString& extension) override;

  static QString QuilletMimeType(const QString& extension) {
    return quillet::QuilletMimeType(extension);
  }
  // The MIME type the desktop gives files ending in `extension`, or empty.
  QString MimeTypeOf(const QString& extension) const;
  // The desktop entry that opens `mime_type`, or empty.
  QString DefaultApplication(const QString& mime_type) const;

  QString DesktopEntryPath() const;
  QString MimePackagePath() const;
  QString MimeAppsListPath() const;
  // The desktop entry's text for the MIME types Quillet opens.
  QString DesktopEntry(const QStringList& mime_types) const;
  static QString ExecLine(const QString& program_path) { return quillet::ExecLine(program_path); }

 private:
  struct Changes;

  QStringList ResolvedMimeTypes(const QString& extension, const QStringList& own) const;
  void WritePackage(const QStringList& own, Changes& changes) const;
  void WriteEntryAndDefaults(const QStringList& own, const QStringList& taken, QStringList released,
                             Changes& changes) const;
  // The MIME types the desktop entry names, and the ones among them that are Quillet's own.
  [[nodiscard]] Result<QStringList> EntryMimeTypes() const;
  [[nodiscard]] Result<QStringList> OwnMimeTypes() const;
  [[nodiscard]] Status RefreshMimeDatabase() const;
  [[nodiscard]] Status RefreshDesktopDatabase() const;

  XdgDirs dirs_;
  XdgMimeDatabase database_;
  QString program_path_;
  bool refresh_databases_;
};

}  // namespace quillet
