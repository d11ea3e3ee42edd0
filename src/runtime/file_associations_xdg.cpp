#include "runtime/file_associations_xdg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <functional>

namespace quillet {
namespace {

constexpr const char* kDefaultsGroup = "[Default Applications]";
constexpr const char* kIconResource = ":/icons/quillet.svg";

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// Through QSaveFile, so a failed write leaves the old file. A symbolic link (a dotfile manager's
// mimeapps.list) is written through, not replaced by a file.
bool WriteFile(const QString& path, const QByteArray& bytes) {
  const QFileInfo info(path);
  const QString target = info.isSymLink() ? info.symLinkTarget() : path;
  if (!QDir().mkpath(QFileInfo(target).absolutePath())) return false;
  QSaveFile file(target);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(bytes);
  return file.commit();
}

// The `key=value` lines of one [group] of a desktop-entry style file.
QStringList GroupLines(const QString& text, const QString& group) {
  QStringList lines;
  bool inside = false;
  for (const QString& line : text.split('\n')) {
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith('[')) {
      inside = trimmed == group;
    } else if (inside) {
      lines << trimmed;
    }
  }
  return lines;
}

QString GroupValue(const QString& text, const QString& group, const QString& key) {
  for (const QString& line : GroupLines(text, group)) {
    const qsizetype equals = line.indexOf('=');
    if (equals > 0 && line.left(equals).trimmed() == key) return line.mid(equals + 1).trimmed();
  }
  return {};
}

QStringList SplitList(const QString& value) { return value.split(';', Qt::SkipEmptyParts); }

QString JoinList(const QStringList& items) { return items.join(';') + ';'; }

// Rewrites the default applications of `mime_type` in mimeapps.list text, keeping every other
// line as it was. An empty result removes the entry.
QString EditDefaults(const QString& text, const QString& mime_type,
                     const std::function<QStringList(QStringList)>& edit) {
  QStringList lines = text.isEmpty() ? QStringList() : text.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  qsizetype group_start = -1, group_end = lines.size(), entry = -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString trimmed = lines[i].trimmed();
    if (trimmed.startsWith('[')) {
      if (group_start >= 0 && group_end == lines.size()) group_end = i;
      if (trimmed == kDefaultsGroup && group_start < 0) group_start = i;
      continue;
    }
    const qsizetype equals = trimmed.indexOf('=');
    if (group_start >= 0 && group_end == lines.size() && entry < 0 && equals > 0 &&
        trimmed.left(equals).trimmed() == mime_type) {
      entry = i;
    }
  }
  const QStringList before =
      entry >= 0 ? SplitList(lines[entry].mid(lines[entry].indexOf('=') + 1).trimmed())
                 : QStringList();
  const QStringList after = edit(before);
  if (after == before) return text;
  const QString line = mime_type + '=' + JoinList(after);
  if (entry >= 0) {
    if (after.isEmpty()) {
      lines.removeAt(entry);
    } else {
      lines[entry] = line;
    }
  } else if (group_start >= 0) {
    // Last entry of the group, before the blank lines that end it.
    qsizetype at = group_end;
    while (at > group_start + 1 && lines[at - 1].trimmed().isEmpty()) --at;
    lines.insert(at, line);
  } else {
    if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines << QString();
    lines << kDefaultsGroup << line;
  }
  return lines.join('\n') + '\n';
}

// A shared-mime-info package with one type per registered extension.
QByteArray MimePackage(const QStringList& mime_types) {
  QString xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const QString& mime_type : mime_types) {
    const QString extension = mime_type.section('-', -1);
    const QString comment = extension == "fob"   ? QString("Object file")
                            : extension == "fbk" ? QString("Backup file")
                                                 : extension.toUpper() + " file";
    xml += QString(
               "  <mime-type type=\"%1\">\n"
               "    <comment>%2</comment>\n"
               "    <glob pattern=\"*.%3\"/>\n"
               "  </mime-type>\n")
               .arg(mime_type, comment, extension);
  }
  xml += "</mime-info>\n";
  return xml.toUtf8();
}

QStringList Prepended(QStringList items, const QString& first) {
  items.removeAll(first);
  items.prepend(first);
  return items;
}

QStringList Without(QStringList items, const QString& item) {
  items.removeAll(item);
  return items;
}

QStringList EnvironmentDirs(const char* name, const QStringList& fallback) {
  QStringList dirs;
  // Relative entries are invalid and ignored.
  for (const QString& dir : qEnvironmentVariable(name).split(':', Qt::SkipEmptyParts)) {
    if (QDir::isAbsolutePath(dir)) dirs << dir;
  }
  return dirs.isEmpty() ? fallback : dirs;
}

QString EnvironmentDir(const char* name, const QString& fallback) {
  const QString dir = qEnvironmentVariable(name);
  return QDir::isAbsolutePath(dir) ? dir : fallback;
}

void RunTool(const QString& name, const QString& dir) {
  const QString tool = QStandardPaths::findExecutable(name);
  if (tool.isEmpty()) return;  // optional: without it the desktop reads the files as they are
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(tool, {dir});
  process.waitForFinished(15000);
}

}  // namespace

// Writes only files whose content differs, so registering again touches nothing and refreshes
// no database; remembers whether anything changed and whether every write succeeded.
struct XdgFileAssociations::Changes {
  bool ok = true;
  bool changed = false;

  void Write(const QString& path, const QByteArray& bytes) {
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return;
    changed = true;
    ok = WriteFile(path, bytes) && ok;
  }
  void Remove(const QString& path) {
    if (!QFileInfo::exists(path)) return;
    changed = true;
    ok = QFile::remove(path) && ok;
  }
};

XdgDirs XdgDirs::FromEnvironment() {
  const QString home = QDir::homePath();
  XdgDirs dirs;
  dirs.data_home = EnvironmentDir("XDG_DATA_HOME", home + "/.local/share");
  dirs.config_home = EnvironmentDir("XDG_CONFIG_HOME", home + "/.config");
  dirs.data_dirs = EnvironmentDirs("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"});
  dirs.config_dirs = EnvironmentDirs("XDG_CONFIG_DIRS", {"/etc/xdg"});
  for (const QString& desktop :
       qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts)) {
    dirs.desktops << desktop.toLower();
  }
  return dirs;
}

XdgFileAssociations::XdgFileAssociations(XdgDirs dirs, QString program_path, bool refresh_databases)
    : dirs_(std::move(dirs)),
      program_path_(std::move(program_path)),
      refresh_databases_(refresh_databases) {}

QString XdgFileAssociations::QuilletMimeType(const QString& extension) {
  return "application/x-quillet-" + extension.mid(1).toLower();
}

QString XdgFileAssociations::DesktopEntryPath() const {
  return dirs_.data_home + "/applications/" + kDesktopId;
}

QString XdgFileAssociations::MimePackagePath() const {
  return dirs_.data_home + "/mime/packages/quillet.xml";
}

QString XdgFileAssociations::MimeAppsListPath() const {
  return dirs_.config_home + "/mimeapps.list";
}

QString XdgFileAssociations::ExecLine(const QString& program_path) {
  QString quoted = "\"";
  for (const QChar c : program_path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c == '%' ? QString("%%") : QString(c);
  }
  quoted += '"';
  // The string escapes of the file format come on top of the quoting.
  QString escaped;
  for (const QChar c : quoted) {
    if (c == '\\') {
      escaped += "\\\\";
    } else if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\t') {
      escaped += "\\t";
    } else if (c == '\r') {
      escaped += "\\r";
    } else {
      escaped += c;
    }
  }
  return escaped + " %f";
}

QString XdgFileAssociations::DesktopEntry(const QStringList& mime_types) const {
  QString text =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Quillet\n"
      "GenericName=Object file viewer\n"
      "Comment=List and compare the objects of object and backup files\n"
      "Exec=" +
      ExecLine(program_path_) +
      "\n"
      "Icon=quillet\n"
      "Terminal=false\n"
      "Categories=Development;\n";
  if (!mime_types.isEmpty()) text += "MimeType=" + JoinList(mime_types) + "\n";
  return text;
}

QStringList XdgFileAssociations::RegisteredMimeTypes() const {
  return SplitList(GroupValue(ReadText(DesktopEntryPath()), "[Desktop Entry]", "MimeType"));
}

// The desktop entry stays, as Quillet's entry among the applications; the MIME package goes
// with the last type.
void XdgFileAssociations::WriteClaims(const QStringList& mime_types, Changes& changes) const {
  QFile icon(kIconResource);
  if (icon.open(QIODevice::ReadOnly)) {
    changes.Write(dirs_.data_home + "/icons/hicolor/scalable/apps/quillet.svg", icon.readAll());
  }
  changes.Write(DesktopEntryPath(), DesktopEntry(mime_types).toUtf8());
  if (mime_types.isEmpty()) {
    changes.Remove(MimePackagePath());
  } else {
    changes.Write(MimePackagePath(), MimePackage(mime_types));
  }
}

QString XdgFileAssociations::FindDesktopFile(const QString& desktop_id) const {
  // "vendor-app.desktop" may also live as applications/vendor/app.desktop.
  QStringList relative{desktop_id};
  for (qsizetype dash = desktop_id.indexOf('-'); dash > 0;
       dash = desktop_id.indexOf('-', dash + 1)) {
    relative << desktop_id.left(dash) + '/' + desktop_id.mid(dash + 1);
  }
  for (const QString& dir : QStringList{dirs_.data_home} + dirs_.data_dirs) {
    for (const QString& name : relative) {
      const QString path = dir + "/applications/" + name;
      if (QFileInfo(path).isFile()) return path;
    }
  }
  return {};
}

QString XdgFileAssociations::MimeTypeOf(const QString& extension) const {
  const QString pattern = '*' + extension;
  QString best;
  int best_weight = -1;
  for (const QString& dir : QStringList{dirs_.data_home} + dirs_.data_dirs) {
    // globs2 lines: weight:type:pattern[:flags], heaviest first.
    for (const QString& line : ReadText(dir + "/mime/globs2").split('\n')) {
      if (line.startsWith('#')) continue;
      const QStringList fields = line.split(':');
      if (fields.size() < 3) continue;
      const bool case_sensitive = fields.size() > 3 && fields[3].split(',').contains("cs");
      if (fields[2].compare(pattern, case_sensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) !=
          0) {
        continue;
      }
      const int weight = fields[0].toInt();
      if (weight > best_weight) {  // on equal weight the user's own directory wins
        best_weight = weight;
        best = fields[1];
      }
    }
  }
  // Without update-mime-database our package is not compiled, but it is ours to know.
  if (best.isEmpty() && RegisteredMimeTypes().contains(QuilletMimeType(extension))) {
    best = QuilletMimeType(extension);
  }
  return best;
}

QString XdgFileAssociations::DefaultApplication(const QString& mime_type) const {
  QStringList lists;
  auto add_lists = [&](const QString& dir) {
    for (const QString& desktop : dirs_.desktops) lists << dir + '/' + desktop + "-mimeapps.list";
    lists << dir + "/mimeapps.list";
  };
  for (const QString& dir : QStringList{dirs_.config_home} + dirs_.config_dirs) add_lists(dir);
  for (const QString& dir : QStringList{dirs_.data_home} + dirs_.data_dirs) {
    add_lists(dir + "/applications");
  }
  for (const QString& list : lists) {
    const QString value = GroupValue(ReadText(list), kDefaultsGroup, mime_type);
    // An entry whose application is not installed does not count; the next one does.
    for (const QString& desktop_id : SplitList(value)) {
      if (!FindDesktopFile(desktop_id).isEmpty()) return desktop_id;
    }
  }
  return {};
}

QString XdgFileAssociations::FileTypeDescription(const QString& extension) const {
  const QString mime_type = MimeTypeOf(extension);
  if (mime_type.isEmpty()) return {};
  const QString desktop_id = DefaultApplication(mime_type);
  if (desktop_id.isEmpty()) return {};
  if (desktop_id == kDesktopId) return kQuilletFileDescription;
  const QString name = GroupValue(ReadText(FindDesktopFile(desktop_id)), "[Desktop Entry]", "Name");
  return name.isEmpty() ? desktop_id : name;
}

bool XdgFileAssociations::RegisterFileType(const QString& extension) {
  const QString mime_type = QuilletMimeType(extension);
  QStringList mime_types = RegisteredMimeTypes();
  if (!mime_types.contains(mime_type)) mime_types << mime_type;
  Changes changes;
  WriteClaims(mime_types, changes);
  const QString list = ReadText(MimeAppsListPath());
  changes.Write(MimeAppsListPath(), EditDefaults(list, mime_type, [](QStringList ids) {
                                      return Prepended(std::move(ids), kDesktopId);
                                    }).toUtf8());
  if (changes.changed) RefreshDatabases();
  return changes.ok;
}

void XdgFileAssociations::UnregisterFileType(const QString& extension) {
  const QString mime_type = QuilletMimeType(extension);
  Changes changes;
  // Only our own name goes; another application set as the default stays the default.
  const QString list = ReadText(MimeAppsListPath());
  const QString edited = EditDefaults(
      list, mime_type, [](QStringList ids) { return Without(std::move(ids), kDesktopId); });
  if (edited != list) changes.Write(MimeAppsListPath(), edited.toUtf8());
  // While the desktop entry names the type, Quillet stays a candidate for opening it.
  const QStringList mime_types = RegisteredMimeTypes();
  if (mime_types.contains(mime_type)) WriteClaims(Without(mime_types, mime_type), changes);
  if (changes.changed) RefreshDatabases();
}

void XdgFileAssociations::RefreshDatabases() const {
  if (!refresh_databases_) return;
  RunTool("update-mime-database", dirs_.data_home + "/mime");
  RunTool("update-desktop-database", dirs_.data_home + "/applications");
}

}  // namespace quillet
