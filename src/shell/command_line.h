#pragma once

#include <QString>
#include <QStringList>

namespace quillet {

// The whole argument text is one file name. The shell split it at blanks; joining the pieces
// with single blanks gives it back.
QString ArgumentText(const QStringList& arguments_after_program);

// Trimmed, and when it starts with a double quote, without its first and last character.
QString CommandLineFileName(const QString& argument_text);

// What a name of another type gets, from the command line or a drop.
inline constexpr const char* kInvalidFileTypeMessage =
    "Invalid file type. Supported file types: .fbk, .fob";

// Only the last four characters count, in any letter case.
bool HasObjectFileExtension(const QString& file_name);
bool HasTextFileExtension(const QString& file_name);

}  // namespace quillet
