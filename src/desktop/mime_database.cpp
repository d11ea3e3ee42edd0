#include "desktop/mime_database.h"

#include <QFileInfo>

#include "desktop/mimeapps_list.h"

namespace quillet {
namespace {

QString Value(const QString& path, std::string_view group, const QString& key) {
  const QByteArray text = ReadFileOrEmpty(path);
  return QString::fromStdString(
      KeyFileValue(std::string_view(text.constData(), text.size()), group, key.toStdString()));
}

}  // namespace

QString XdgMimeDatabase::FindDesktopFile(const QString& desktop_id) const {
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
QStringList XdgMimeDatabase::ResolvedMimeTypes(const QString& extension,
                                               const QString& uncompiled) const {
  const QString pattern = '*' + extension;
  QStringList types;
  int best_weight = -1;
  for (const QString& dir : QStringList{dirs_.data_home} + dirs_.data_dirs) {
    // globs2 lines: weight:type:pattern[:flags], heaviest first.
    for (const QString& line :
         QString::fromUtf8(ReadFileOrEmpty(dir + "/mime/globs2")).split('\n')) {
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
  if (types.isEmpty() && !uncompiled.isEmpty()) types << uncompiled;
  return types;
}

QString XdgMimeDatabase::DefaultApplication(const QString& mime_type) const {
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
    const QString value = Value(list, kDefaultApplicationsGroup, mime_type);
    // An entry whose application is not installed does not count; the next one does.
    for (const QString& desktop_id : value.split(';', Qt::SkipEmptyParts)) {
      if (!FindDesktopFile(desktop_id).isEmpty()) return desktop_id;
    }
  }
  return {};
}

QString XdgMimeDatabase::ApplicationName(const QString& desktop_id) const {
  const QString name = Value(FindDesktopFile(desktop_id), "[Desktop Entry]", "Name");
  return name.isEmpty() ? desktop_id : name;
}

}  // namespace quillet
