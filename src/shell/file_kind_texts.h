#pragma once

#include <QString>

#include "objects/file_kinds.h"

namespace quillet {

// The window's texts that name the kinds of file, made from their table.

// The open dialog's choices: every kind at once, each kind, every file.
QString OpenFileFilter();
// The settings dialog's box for a kind: "Open object files (.fob) with Quillet".
QString OpenWithQuilletText(const FileKind& kind);

}  // namespace quillet
