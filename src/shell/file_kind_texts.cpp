#include "shell/file_kind_texts.h"

#include <QStringList>

namespace quillet {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Plural(const FileKind& kind) { return Text(kind.description) + 's'; }

}  // namespace

QString OpenFileFilter() {
  QStringList patterns;
  for (const FileKind& kind : kFileKinds) patterns << '*' + Text(kind.extension);
  QString filter = "Supported files (" + patterns.join(';') + ")|" + patterns.join(';');
  for (const FileKind& kind : kFileKinds) {
    const QString pattern = '*' + Text(kind.extension);
    filter += '|' + Plural(kind) + " (" + pattern + ")|" + pattern;
  }
  return filter + "|All files|*.*";
}

QString OpenWithQuilletText(const FileKind& kind) {
  return "Open " + Plural(kind).toLower() + " (" + Text(kind.extension) + ") with Quillet";
}

}  // namespace quillet
