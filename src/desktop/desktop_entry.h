#pragma once

#include <QString>
#include <QStringList>

#include "objects/file_kinds.h"

namespace quillet {

// The files that tell a freedesktop.org desktop about Quillet: its desktop entry and the
// shared-mime-info package of its file kinds. The installed copies (resources/install) are
// these texts for the installed program; registering per user writes them for this program.

inline constexpr const char* kDesktopId = "quillet.desktop";

// The file kind whose extension is `extension` (".fob", in any letter case), or null.
const FileKind* FileKindOfExtension(const QString& extension);
// The kind whose MIME type is `mime_type`, or null: a type that is not one of these is not
// Quillet's own.
const FileKind* FileKindOfMimeType(const QString& mime_type);
// Quillet's MIME type for an extension: ".fob" gives "application/x-quillet-fob"; empty for an
// extension of no kind of file Quillet opens.
QString QuilletMimeType(const QString& extension);

// `"<program>" %f`, escaped for a desktop entry: the program path is one word whatever it
// holds.
QString ExecLine(const QString& program_path);
// The desktop entry that runs `exec_line` and names `mime_types` (none: Quillet is only one of
// the applications).
QString DesktopEntryText(const QString& exec_line, const QStringList& mime_types);
// A shared-mime-info package with a type for each of `mime_types` that is Quillet's own.
QByteArray MimePackageText(const QStringList& mime_types);

// What the packages install: the program found on the path, every kind of file.
QString InstalledDesktopEntry();
QByteArray InstalledMimePackage();

}  // namespace quillet
