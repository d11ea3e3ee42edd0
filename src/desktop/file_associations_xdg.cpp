#include "desktop/file_associations_xdg.h"

#include <QFile>
#include <QFileInfo>

#include "desktop/mimeapps_list.h"

namespace quillet {
namespace {

constexpr const char* kIconResource = ":/icons/quillet.svg";

QStringList Without(QStringList items, const QString& item) {
  items.removeAll(item);
  return items;
}

std::string_view Bytes(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

// Writes only files whose content differs, so registering again touches nothing and refreshes
// no database; remembers whether anything changed and the first thing that failed.
struct XdgFileAssociations::Changes {
  Status status;
  bool changed = false;

  void Keep(Status outcome) {
    if (status.ok() && !outcome.ok()) status = std::move(outcome);
  }
  void Write(const QString& path, const QByteArray& bytes) {
    if (QFileInfo(path).isFile()) {
      const Result<QByteArray> old = ReadFileBytes(path);
      if (old.ok() && *old == bytes) return;
    }
    changed = true;
    Keep(WriteFileBytes(path, bytes));
  }
  void Remove(const QString& path) {
    if (!QFileInfo::exists(path)) return;
    changed = true;
    Keep(RemoveFile(path));
  }
};

XdgFileAssociations::XdgFileAssociations(XdgDirs dirs, QString program_path, bool refresh_databases)
    : dirs_(std::move(dirs)),
      database_(dirs_),
      program_path_(std::move(program_path)),
      refresh_databases_(refresh_databases) {}

QString XdgFileAssociations::DesktopEntryPath() const {
  return dirs_.data_home + "/applications/" + kDesktopId;
}

QString XdgFileAssociations::MimePackagePath() const {
  return dirs_.data_home + "/mime/packages/quillet.xml";
}

QString XdgFileAssociations::MimeAppsListPath() const {
  return dirs_.config_home + "/mimeapps.list";
}

QString XdgFileAssociations::DesktopEntry(const QStringList& mime_types) const {
  return DesktopEntryText(ExecLine(program_path_), mime_types);
}

Result<QStringList> XdgFileAssociations::EntryMimeTypes() const {
  Result<QByteArray> entry = ReadFileBytes(DesktopEntryPath());
  if (!entry) return Error{entry.error()};
  const std::string value = KeyFileValue(Bytes(*entry), "[Desktop Entry]", "MimeType");
  return QString::fromStdString(value).split(';', Qt::SkipEmptyParts);
}

Result<QStringList> XdgFileAssociations::OwnMimeTypes() const {
  Result<QStringList> named = EntryMimeTypes();
  if (!named) return named;
  QStringList own;
  for (const QString& mime_type : *named) {
    if (FileKindOfMimeType(mime_type) != nullptr) own << mime_type;
  }
  return own;
}

// Without update-mime-database our package is not compiled, but it is ours to know.
QStringList XdgFileAssociations::ResolvedMimeTypes(const QString& extension,
                                                   const QStringList& own) const {
  const QString mime_type = QuilletMimeType(extension);
  return database_.ResolvedMimeTypes(
      extension, !mime_type.isEmpty() && own.contains(mime_type) ? mime_type : QString());
}

// The MIME package goes with the last type of Quillet's own.
void XdgFileAssociations::WritePackage(const QStringList& own, Changes& changes) const {
  QFile icon(kIconResource);
  if (icon.open(QIODevice::ReadOnly)) {
    changes.Write(dirs_.data_home + "/icons/hicolor/scalable/apps/quillet.svg", icon.readAll());
  }
  if (own.isEmpty()) {
    changes.Remove(MimePackagePath());
  } else {
    changes.Write(MimePackagePath(), MimePackageText(own));
  }
}

// The desktop entry names Quillet's own types and every other type the desktop gives their
// extensions; it stays without types, as Quillet's entry among the applications. Quillet goes
// first for `taken` and off `released` and every type the entry no longer names. A list that
// cannot be read is left as it is: what was read of it may not be all of it.
void XdgFileAssociations::WriteEntryAndDefaults(const QStringList& own, const QStringList& taken,
                                                QStringList released, Changes& changes) const {
  QStringList named = own;
  for (const QString& mime_type : own) {
    const std::string_view own_extension = FileKindOfMimeType(mime_type)->extension;
    const QString extension =
        QString::fromUtf8(own_extension.data(), static_cast<qsizetype>(own_extension.size()));
    for (const QString& resolved : ResolvedMimeTypes(extension, own)) {
      if (!named.contains(resolved)) named << resolved;
    }
  }
  const Result<QStringList> entry_types = EntryMimeTypes();
  if (!entry_types) {
    changes.Keep(Error{entry_types.error()});
    return;
  }
  for (const QString& mime_type : *entry_types) {
    if (!named.contains(mime_type)) released << mime_type;
  }
  if (!taken.isEmpty() || QFileInfo::exists(DesktopEntryPath())) {
    changes.Write(DesktopEntryPath(), DesktopEntry(named).toUtf8());
  }
  const Result<QByteArray> list = ReadFileBytes(MimeAppsListPath());
  if (!list) {
    changes.Keep(Error{list.error()});
    return;
  }
  std::string edited(Bytes(*list));
  for (const QString& mime_type : taken) {
    edited = EditDefaultApplications(edited, mime_type.toStdString(), kDesktopId, true);
  }
  // Only our own name goes; another application set as the default stays the default.
  for (const QString& mime_type : released) {
    edited = EditDefaultApplications(edited, mime_type.toStdString(), kDesktopId, false);
  }
  if (edited != Bytes(*list)) {
    changes.Write(MimeAppsListPath(),
                  QByteArray(edited.data(), static_cast<qsizetype>(edited.size())));
  }
}

QString XdgFileAssociations::MimeTypeOf(const QString& extension) const {
  const Result<QStringList> own = OwnMimeTypes();
  return ResolvedMimeTypes(extension, own ? *own : QStringList()).value(0);
}

QString XdgFileAssociations::DefaultApplication(const QString& mime_type) const {
  return database_.DefaultApplication(mime_type);
}

QString XdgFileAssociations::FileTypeDescription(const QString& extension) const {
  const QString mime_type = MimeTypeOf(extension);
  if (mime_type.isEmpty()) return {};
  const QString desktop_id = DefaultApplication(mime_type);
  if (desktop_id.isEmpty()) return {};
  if (desktop_id == kDesktopId) return kQuilletFileDescription;
  return database_.ApplicationName(desktop_id);
}

// Another package may give the extension a type of its own, as heavy as Quillet's or heavier:
// Quillet then becomes the default for that type too, or files would open elsewhere. Nothing is
// written when Quillet's own entry cannot be read, as the types it names would be lost.
Status XdgFileAssociations::RegisterFileType(const QString& extension) {
  const QString mime_type = QuilletMimeType(extension);
  if (mime_type.isEmpty())
    return Fail(extension.toStdString() + " is no kind of file Quillet opens");
  Result<QStringList> own = OwnMimeTypes();
  if (!own) return Error{own.error()};
  if (!own->contains(mime_type)) *own << mime_type;
  Changes changes;
  WritePackage(*own, changes);
  if (changes.changed) changes.Keep(RefreshMimeDatabase());  // the desktop's types come from it
  const QStringList resolved = ResolvedMimeTypes(extension, *own);
  WriteEntryAndDefaults(*own, QStringList{mime_type} + Without(resolved, mime_type), {}, changes);
  if (changes.changed) changes.Keep(RefreshDesktopDatabase());
  if (!changes.status) return changes.status;
  // A list the desktop reads first (a desktop's own) may still name another application.
  for (const QString& type : resolved) {
    const QString opener = DefaultApplication(type);
    if (opener != kDesktopId) {
      return Fail("a list the desktop reads first opens " + type.toStdString() + " with " +
                  (opener.isEmpty() ? std::string("another application") : opener.toStdString()));
    }
  }
  return Ok();
}

Status XdgFileAssociations::UnregisterFileType(const QString& extension) {
  const QString mime_type = QuilletMimeType(extension);
  if (mime_type.isEmpty()) return Ok();  // never Quillet's
  Result<QStringList> own = OwnMimeTypes();
  if (!own) return Error{own.error()};
  Changes changes;
  // While the desktop entry names the type, Quillet stays a candidate for opening it.
  if (own->contains(mime_type)) {
    WritePackage(Without(*own, mime_type), changes);
    if (changes.changed) changes.Keep(RefreshMimeDatabase());
  }
  WriteEntryAndDefaults(Without(*own, mime_type), {}, {mime_type}, changes);
  if (changes.changed) changes.Keep(RefreshDesktopDatabase());
  return changes.status;
}

Status XdgFileAssociations::RefreshMimeDatabase() const {
  if (!refresh_databases_) return Ok();
  return RunDatabaseTool("update-mime-database", dirs_.data_home + "/mime");
}

Status XdgFileAssociations::RefreshDesktopDatabase() const {
  if (!refresh_databases_) return Ok();
  return RunDatabaseTool("update-desktop-database", dirs_.data_home + "/applications");
}

}  // namespace quillet
