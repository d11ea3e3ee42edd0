#include "desktop/text_codec.h"

#include <QFile>

#include "objects/code_page.h"

namespace quillet {

QString FromWindows1252(std::string_view text) {
  QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* out = result.data();
  for (char c : text) {
    *out++ = QChar(static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(c))));
  }
  return result;
}

std::string ToWindows1252(const QString& text) {
  std::string result;
  result.reserve(static_cast<std::size_t>(text.size()));
  for (const char32_t c : text.toUcs4()) result += UnicodeToWindows1252(c);
  return result;
}

QString FromPath(const std::filesystem::path& path) {
#ifdef Q_OS_WIN
  return QString::fromStdWString(path.native());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

std::filesystem::path ToPath(const QString& name) {
#ifdef Q_OS_WIN
  return std::filesystem::path(name.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(name).toStdString());
#endif
}

}  // namespace quillet
