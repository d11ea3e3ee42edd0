#include "desktop/desktop_entry.h"

namespace quillet {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList AllMimeTypes() {
  QStringList types;
  for (const FileKind& kind : kFileKinds) types << Text(kind.mime_type);
  return types;
}

}  // namespace

const FileKind* FileKindOfExtension(const QString& extension) {
  for (const FileKind& kind : kFileKinds) {
    if (extension.compare(Text(kind.extension), Qt::CaseInsensitive) == 0) return &kind;
  }
  return nullptr;
}

const FileKind* FileKindOfMimeType(const QString& mime_type) {
  for (const FileKind& kind : kFileKinds) {
    if (mime_type == Text(kind.mime_type)) return &kind;
  }
  return nullptr;
}

QString QuilletMimeType(const QString& extension) {
  const FileKind* kind = FileKindOfExtension(extension);
  return kind == nullptr ? QString() : Text(kind->mime_type);
}

QString ExecLine(const QString& program_path) {
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

QString DesktopEntryText(const QString& exec_line, const QStringList& mime_types) {
  QString text =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Quillet\n"
      "GenericName=Object file viewer\n"
      "Comment=List and compare the objects of object and backup files\n"
      "Exec=" +
      exec_line +
      "\n"
      "Icon=quillet\n"
      "Terminal=false\n"
      "Categories=Development;\n";
  if (!mime_types.isEmpty()) text += "MimeType=" + mime_types.join(';') + ";\n";
  text += "Keywords=";
  for (const FileKind& kind : kFileKinds) text += Text(kind.extension.substr(1)) + ';';
  text += "objects;backup;compare;\n";
  return text;
}

QByteArray MimePackageText(const QStringList& mime_types) {
  QString xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const QString& mime_type : mime_types) {
    const FileKind* kind = FileKindOfMimeType(mime_type);
    if (kind == nullptr) continue;
    xml += QString(
               "  <mime-type type=\"%1\">\n"
               "    <comment>%2</comment>\n"
               "    <glob pattern=\"*%3\"/>\n"
               "  </mime-type>\n")
               .arg(mime_type, Text(kind->description), Text(kind->extension));
  }
  xml += "</mime-info>\n";
  return xml.toUtf8();
}

QString InstalledDesktopEntry() { return DesktopEntryText("quillet %f", AllMimeTypes()); }

QByteArray InstalledMimePackage() { return MimePackageText(AllMimeTypes()); }

}  // namespace quillet
