#pragma once

#include <array>
#include <filesystem>
#include <string_view>

#include "objects/text.h"

namespace quillet {

// The kinds of file Quillet opens. Everything that names them reads this table: the window's
// checks of a name, the open dialog's filter, the settings dialog, the desktop's MIME types and
// desktop entry. cmake/install.cmake reads the lines of the table below too, to install each
// kind's icon, so each entry stays on one line.
struct FileKind {
  std::string_view extension;    // how a name of this kind ends, in any letter case: ".fob"
  std::string_view description;  // "Object file"
  std::string_view mime_type;    // the desktop's type, "application/x-quillet-fob"
  std::string_view icon;         // its picture in resources/icons
};

inline constexpr std::array<FileKind, 2> kFileKinds = {{
    {".fob", "Object file", "application/x-quillet-fob", "file1.svg"},
    {".fbk", "Backup file", "application/x-quillet-fbk", "file2.svg"},
}};

inline constexpr const FileKind& kObjectFileKind = kFileKinds[0];
inline constexpr const FileKind& kBackupFileKind = kFileKinds[1];

// The kind a name ends as, in any letter case, or null.
inline const FileKind* FileKindOf(const std::filesystem::path& file_name) {
  for (const FileKind& kind : kFileKinds) {
    if (NameEndsWith(file_name, kind.extension)) return &kind;
  }
  return nullptr;
}

}  // namespace quillet
