#include "shell/command_line.h"

#include "objects/text.h"

namespace quillet {

NativeText ArgumentText(const std::vector<NativeText>& arguments_after_program) {
  NativeText text;
  for (const NativeText& argument : arguments_after_program) {
    if (&argument != &arguments_after_program.front()) text += ' ';
    text += argument;
  }
  return text;
}

NativeText CommandLineFileName(const NativeText& argument_text) {
  // Only blanks are trimmed; other white space is part of the name.
  const std::size_t first = argument_text.find_first_not_of(' ');
  if (first == NativeText::npos) return {};
  NativeText name = argument_text.substr(first, argument_text.find_last_not_of(' ') - first + 1);
  if (name.front() == '"') {
    // The last character goes whatever it is; a lone quote leaves nothing.
    name = name.size() >= 2 ? name.substr(1, name.size() - 2) : NativeText();
  }
  return name;
}

bool HasObjectFileExtension(const std::filesystem::path& file_name) {
  return NameEndsWith(file_name, ".fob") || NameEndsWith(file_name, ".fbk");
}

bool HasTextFileExtension(const std::filesystem::path& file_name) {
  return NameEndsWith(file_name, ".txt");
}

}  // namespace quillet
