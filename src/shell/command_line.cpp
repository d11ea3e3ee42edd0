#include "shell/command_line.h"

namespace quillet {

QString ArgumentText(const QStringList& arguments_after_program) {
  return arguments_after_program.join(' ');
}

QString CommandLineFileName(const QString& argument_text) {
  QString name = argument_text;
  // Only blanks are trimmed; other white space is part of the name.
  while (name.startsWith(' ')) name.remove(0, 1);
  while (name.endsWith(' ')) name.chop(1);
  if (name.startsWith('"')) {
    // The last character goes whatever it is; a lone quote leaves nothing.
    name = name.size() >= 2 ? name.mid(1, name.size() - 2) : QString();
  }
  return name;
}

bool HasObjectFileExtension(const QString& file_name) {
  const QString tail = file_name.right(4).toUpper();
  return tail == ".FOB" || tail == ".FBK";
}

bool HasTextFileExtension(const QString& file_name) {
  return file_name.right(4).toUpper() == ".TXT";
}

}  // namespace quillet
