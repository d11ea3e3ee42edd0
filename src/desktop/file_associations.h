#pragma once

#include <QString>
#include <memory>

#include "platform/result.h"

namespace quillet {

// What the settings dialog ticks for: the description of Quillet's own file type.
inline constexpr const char* kQuilletFileDescription = "Quillet file";

// Which program opens files of an extension (".fob", ".fbk") in the desktop shell. Every
// backend registers per user, so it works without administrator rights, and removes only
// Quillet's own registration, never another program's.
class FileAssociations {
 public:
  virtual ~FileAssociations() = default;

  // The description of the file type `extension` opens as, or empty when nothing opens it.
  // It is kQuilletFileDescription when Quillet does.
  virtual QString FileTypeDescription(const QString& extension) const = 0;
  // Makes Quillet the program that opens `extension`, or says why it could not.
  [[nodiscard]] virtual Status RegisterFileType(const QString& extension) = 0;
  // Removes Quillet's registration of `extension`. Not being registered is no failure.
  [[nodiscard]] virtual Status UnregisterFileType(const QString& extension) = 0;
};

// The backend of the platform the program runs on, for the program at `program_path`: the
// registry on Windows, XDG MIME types, desktop entry and mimeapps.list on other Unix desktops.
std::unique_ptr<FileAssociations> CreateFileAssociations(const QString& program_path);

}  // namespace quillet
