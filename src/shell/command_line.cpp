#include "shell/command_line.h"

#include <algorithm>

#include "objects/file_kinds.h"
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

bool IsStreamName(const std::filesystem::path& file_name) {
  // Looked at, never opened: a FIFO without a writer must not hold up the look.
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file_name, error);
  return !error && (std::filesystem::is_fifo(status) || std::filesystem::is_character_file(status));
}

CommandLine ReadCommandLine(const std::vector<NativeText>& arguments) {
  CommandLine line;
  const NativeText text = ArgumentText(arguments);
  if (text.empty()) return line;
  const std::filesystem::path name = CommandLineFileName(text);
  // Beside object files, what a diff tool or a shell hands over: /dev/null for a file that one
  // side lacks, a pipe for <(...).
  const auto openable = [](const std::filesystem::path& file_name) {
    return HasObjectFileExtension(file_name) || IsStreamName(file_name);
  };
  std::error_code error;
  if ((HasObjectFileExtension(name) && std::filesystem::is_regular_file(name, error)) ||
      IsStreamName(name)) {
    line.kind = CommandLine::Kind::kOneFile;
    line.first = name;
    return line;
  }
  std::vector<NativeText> files = arguments;
  if (std::filesystem::path(files.front()) == "--across") {
    files.erase(files.begin());
    line.kind = files.size() >= 2 && std::all_of(files.begin(), files.end(), openable)
                    ? CommandLine::Kind::kManyFiles
                    : CommandLine::Kind::kInvalid;
    if (line.kind == CommandLine::Kind::kManyFiles) line.files.assign(files.begin(), files.end());
    return line;
  }
  const std::filesystem::path flag = files.front();
  const CommandLine::Comparison asked = flag == "--changes" ? CommandLine::Comparison::kChanges
                                        : flag == "--different"
                                            ? CommandLine::Comparison::kDifferent
                                        : flag == "--equal" ? CommandLine::Comparison::kEqual
                                                            : CommandLine::Comparison::kNone;
  if (asked == CommandLine::Comparison::kNone && flag.native().starts_with(NativeText(2, '-'))) {
    line.kind = CommandLine::Kind::kUnknownOption;
    line.first = flag;
    return line;
  }
  if (files.size() == 3 && asked != CommandLine::Comparison::kNone) {
    line.comparison = asked;
    files.erase(files.begin());
  }
  if (files.size() == 2 && openable(files[0]) && openable(files[1])) {
    line.kind = CommandLine::Kind::kTwoFiles;
    line.first = files[0];
    line.second = files[1];
    return line;
  }
  line.comparison = CommandLine::Comparison::kNone;
  line.kind = openable(name) ? CommandLine::Kind::kOneFile : CommandLine::Kind::kInvalid;
  line.first = name;
  return line;
}

bool HasObjectFileExtension(const std::filesystem::path& file_name) {
  return FileKindOf(file_name) != nullptr;
}

bool HasTextFileExtension(const std::filesystem::path& file_name) {
  return NameEndsWith(file_name, ".txt");
}

}  // namespace quillet
