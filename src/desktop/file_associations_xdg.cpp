#include "desktop/file_associations_xdg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <array>

#include "desktop/text_codec.h"
#include "platform/atomic_file.h"
#include "platform/input_file.h"

namespace quillet {
namespace {

constexpr const char* kDefaultsGroup = "[Default Applications]";
constexpr const char* kIconResource = ":/icons/quillet.svg";
constexpr const char* kOwnTypePrefix = "application/x-quillet-";

// Only regular files (after links) are read, opened as object files are: without blocking and
// checked once open, so a FIFO, even one put there after a look, is refused instead of waited on.
QByteArray ReadBytes(const QString& path) {
  const Result<std::unique_ptr<InputFile>> opened = InputFile::Open(ToPath(path));
  if (!opened || *opened == nullptr) return {};
  QByteArray bytes;
  std::array<char, 16384> block;
  while (const std::size_t got = (*opened)->Read(block.data(), block.size())) {
    bytes.append(block.data(), static_cast<qsizetype>(got));
  }
  return bytes;
}

QString ReadText(const QString& path) { return QString::fromUtf8(ReadBytes(path)); }

// Whole or not at all, as the list is saved: a symbolic link (a dotfile manager's mimeapps.list)
// is written through, and a name that leads to anything but a regular file (a device, a FIFO)
// is refused, never replaced.
bool WriteFile(const QString& path, const QByteArray& bytes) {
  const QFileInfo info(path);
  const QString target = info.isSymLink() ? info.symLinkTarget() : path;
  if (!QDir().mkpath(QFileInfo(target).absolutePath())) return false;
  const AtomicFileOpen opened = AtomicFile::Open(ToPath(path));
  return opened.file != nullptr &&
         opened.file->Write({bytes.constData(), static_cast<std::size_t>(bytes.size())}) &&
         opened.file->Commit();
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

// The lines of `text`, each with its own line end, so joined they give the bytes back.
QByteArrayList SplitLines(const QByteArray& text) {
  QByteArrayList lines;
  for (qsizetype start = 0; start < text.size();) {
    const qsizetype newline = text.indexOf('\n', start);
    const qsizetype end = newline < 0 ? text.size() : newline + 1;
    lines << text.mid(start, end - start);
    start = end;
  }
  return lines;
}

QByteArray LineEnd(const QByteArray& line) {
  return line.endsWith("\r\n") ? "\r\n" : line.endsWith('\n') ? "\n" : "";
}

// Puts Quillet first among the default applications of `mime_type` in mimeapps.list, or takes it
// off, as bytes: the file may hold anything in any encoding, and every line but the entry stays
// byte for byte. An entry left empty goes.
QByteArray EditDefaults(const QByteArray& text, const QString& mime_type, bool quillet_first) {
  QByteArrayList lines = SplitLines(text);
  const QByteArray key = mime_type.toUtf8();
  qsizetype group_start = -1, group_end = lines.size(), entry = -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray trimmed = lines[i].trimmed();
    if (trimmed.startsWith('[')) {
      if (group_start >= 0 && group_end == lines.size()) group_end = i;
      if (trimmed == kDefaultsGroup && group_start < 0) group_start = i;
      continue;
    }
    const qsizetype equals = trimmed.indexOf('=');
    if (group_start >= 0 && group_end == lines.size() && entry < 0 && equals > 0 &&
        trimmed.left(equals).trimmed() == key) {
      entry = i;
    }
  }
  const QByteArray value = entry >= 0 ? lines[entry].mid(lines[entry].indexOf('=') + 1) : "";
  QByteArrayList before = value.trimmed().split(';');
  before.removeAll(QByteArray());
  QByteArrayList after = before;
  after.removeAll(XdgFileAssociations::kDesktopId);
  if (quillet_first) after.prepend(XdgFileAssociations::kDesktopId);
  if (after == before) return text;
  const QByteArray line = key + '=' + after.join(';') + ';';
  // New lines end as the file's first line does.
  const QByteArray end = lines.isEmpty() || LineEnd(lines[0]).isEmpty() ? "\n" : LineEnd(lines[0]);
  if (entry >= 0) {
    if (after.isEmpty()) {
      lines.removeAt(entry);
    } else {
      lines[entry] = line + LineEnd(lines[entry]);
    }
    return lines.join();
  }
  qsizetype at = lines.size();
  if (group_start >= 0) {
    // Last entry of the group, before the blank lines that end it.
    at = group_end;
    while (at > group_start + 1 && lines[at - 1].trimmed().isEmpty()) --at;
  }
  if (at > 0 && LineEnd(lines[at - 1]).isEmpty()) lines[at - 1] += end;  // a last line unended
  if (group_start >= 0) {
    lines.insert(at, line + end);
  } else {
    if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines << end;
    lines << kDefaultsGroup + end << line + end;
  }
  return lines.join();
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
    if (QFileInfo(path).isFile() && ReadBytes(path) == bytes) return;
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
  return kOwnTypePrefix + extension.mid(1).toLower();
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

QStringList XdgFileAssociations::EntryMimeTypes() const {
  return SplitList(GroupValue(ReadText(DesktopEntryPath()), "[Desktop Entry]", "MimeType"));
}

QStringList XdgFileAssociations::OwnMimeTypes() const {
  QStringList own;
  for (const QString& mime_type : EntryMimeTypes()) {
    if (mime_type.startsWith(kOwnTypePrefix)) own << mime_type;
  }
  return own;
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
    changes.Write(MimePackagePath(), MimePackage(own));
  }
}

// The desktop entry names Quillet's own types and every other type the desktop gives their
// extensions; it stays without types, as Quillet's entry among the applications. Quillet goes
// first for `taken` and off `released` and every type the entry no longer names.
void XdgFileAssociations::WriteEntryAndDefaults(const QStringList& own, const QStringList& taken,
                                                QStringList released, Changes& changes) const {
  QStringList named = own;
  for (const QString& mime_type : own) {
    const QString extension = '.' + mime_type.mid(QString(kOwnTypePrefix).size());
    for (const QString& resolved : ResolvedMimeTypes(extension, own)) {
      if (!named.contains(resolved)) named << resolved;
    }
  }
  for (const QString& mime_type : EntryMimeTypes()) {
    if (!named.contains(mime_type)) released << mime_type;
  }
  if (!taken.isEmpty() || QFileInfo::exists(DesktopEntryPath())) {
    changes.Write(DesktopEntryPath(), DesktopEntry(named).toUtf8());
  }
  const QByteArray list = ReadBytes(MimeAppsListPath());
  QByteArray edited = list;
  for (const QString& mime_type : taken) edited = EditDefaults(edited, mime_type, true);
  // Only our own name goes; another application set as the default stays the default.
  for (const QString& mime_type : released) edited = EditDefaults(edited, mime_type, false);
  if (edited != list) changes.Write(MimeAppsListPath(), edited);
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
      QString path = dir + "/applications/" + name;
      if (QFileInfo(path).isFile()) return path;
    }
  }
  return {};
}

// Where globs of the same weight tie, which type a desktop takes depends on how its database
// happens to be ordered, so all of them count.
QStringList XdgFileAssociations::ResolvedMimeTypes(const QString& extension,
                                                   const QStringList& own) const {
  const QString pattern = '*' + extension;
  QStringList types;
  int best_weight = -1;
  for (const QString& dir : QStringList{dirs_.data_home} + dirs_.data_dirs) {
    // globs2 lines: weight:type:pattern[:flags], heaviest first.
    for (const QString& line : ReadText(dir + "/mime/globs2").split('\n')) {
      if (line.startsWith('#')) continue;
      const QStringList fields = line.split(':');
      if (fields.size() < 3) continue;
      const Qt::CaseSensitivity letter_case =
          fields.size() > 3 && fields[3].split(',').contains("cs") ? Qt::CaseSensitive
                                                                   : Qt::CaseInsensitive;
      if (fields[2].compare(pattern, letter_case) != 0) continue;
      const int weight = fields[0].toInt();
      if (weight > best_weight) {
        best_weight = weight;
        types = QStringList{fields[1]};
      } else if (weight == best_weight && !types.contains(fields[1])) {
        types << fields[1];  // after the first: on equal weight the user's own directory wins
      }
    }
  }
  // Without update-mime-database our package is not compiled, but it is ours to know.
  if (types.isEmpty() && own.contains(QuilletMimeType(extension))) {
    types << QuilletMimeType(extension);
  }
  return types;
}

QString XdgFileAssociations::MimeTypeOf(const QString& extension) const {
  return ResolvedMimeTypes(extension, OwnMimeTypes()).value(0);
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

// Another package may give the extension a type of its own, as heavy as Quillet's or heavier:
// Quillet then becomes the default for that type too, or files would open elsewhere.
bool XdgFileAssociations::RegisterFileType(const QString& extension) {
  const QString mime_type = QuilletMimeType(extension);
  QStringList own = OwnMimeTypes();
  if (!own.contains(mime_type)) own << mime_type;
  Changes changes;
  WritePackage(own, changes);
  if (changes.changed) RefreshMimeDatabase();  // the types the desktop gives come from it
  const QStringList resolved = ResolvedMimeTypes(extension, own);
  WriteEntryAndDefaults(own, QStringList{mime_type} + Without(resolved, mime_type), {}, changes);
  if (changes.changed) RefreshDesktopDatabase();
  if (!changes.ok) return false;
  // A list the desktop reads first (a desktop's own) may still name another application.
  for (const QString& type : resolved) {
    if (DefaultApplication(type) != kDesktopId) return false;
  }
  return true;
}

void XdgFileAssociations::UnregisterFileType(const QString& extension) {
  const QString mime_type = QuilletMimeType(extension);
  Changes changes;
  // While the desktop entry names the type, Quillet stays a candidate for opening it.
  const QStringList own = OwnMimeTypes();
  if (own.contains(mime_type)) {
    WritePackage(Without(own, mime_type), changes);
    if (changes.changed) RefreshMimeDatabase();
  }
  WriteEntryAndDefaults(Without(own, mime_type), {}, {mime_type}, changes);
  if (changes.changed) RefreshDesktopDatabase();
}

void XdgFileAssociations::RefreshMimeDatabase() const {
  if (refresh_databases_) RunTool("update-mime-database", dirs_.data_home + "/mime");
}

void XdgFileAssociations::RefreshDesktopDatabase() const {
  if (refresh_databases_) RunTool("update-desktop-database", dirs_.data_home + "/applications");
}

}  // namespace quillet
