#pragma once

#include <filesystem>
#include <vector>

namespace quillet {

// Arguments and file names as the system gives them: bytes on Linux, UTF-16 on Windows. Kept
// so from the arguments to the open call, every name the system can give opens.
using NativeText = std::filesystem::path::string_type;

// The whole argument text is one file name. The shell split it at blanks; joining the pieces
// with single blanks gives it back.
NativeText ArgumentText(const std::vector<NativeText>& arguments_after_program);

// Trimmed, and when it starts with a double quote, without its first and last character.
NativeText CommandLineFileName(const NativeText& argument_text);

// What a name of another type gets, from the command line or a drop.
inline constexpr const char* kInvalidFileTypeMessage =
    "Invalid file type. Supported file types: .fbk, .fob";

// What an option the window does not know gets; the option follows it.
inline constexpr const char* kUnknownOptionMessage = "Unknown option: ";
inline constexpr const char* kWindowUsage =
    "Usage: quillet [FILE] or quillet [--changes|--different|--equal] FILE1 FILE2";

// What the window's arguments ask for. The whole argument text is one file name, as it always
// was, when it names a file there is; otherwise two .fob or .fbk names, after one of --changes,
// --different or --equal or alone, are file #1 and file #2, and that comparison runs (the
// changes without an option). So version control's diff tools and file managers' compare
// actions can start it on two files. A first argument that starts with "--" and is none of the
// three is an unknown option, which is said rather than taken as a name.
// A pipe or a character device (/dev/null for a file one side lacks, /dev/fd/N for <(...)) is
// taken whatever its name; the files of the command line are read as streams where they are.
// "--across" and two names or more compare those files across, in the matrix.
struct CommandLine {
  enum class Kind { kNothing, kOneFile, kTwoFiles, kManyFiles, kInvalid, kUnknownOption };
  Kind kind = Kind::kNothing;
  std::filesystem::path first, second;       // kUnknownOption: `first` is the option
  std::vector<std::filesystem::path> files;  // kManyFiles: in the order given
  enum class Comparison { kNone, kChanges, kDifferent, kEqual };
  Comparison comparison = Comparison::kNone;  // kNone: no option was given
};
CommandLine ReadCommandLine(const std::vector<NativeText>& arguments_after_program);

// A FIFO, a pipe or a character device: what the window reads only when the command line
// names it.
bool IsStreamName(const std::filesystem::path& file_name);

// Only the last four characters count, in any letter case.
bool HasObjectFileExtension(const std::filesystem::path& file_name);
bool HasTextFileExtension(const std::filesystem::path& file_name);

}  // namespace quillet
