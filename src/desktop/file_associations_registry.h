#pragma once

#include <QSettings>
#include <memory>

#include "desktop/file_associations.h"

namespace quillet {

// Windows file types: the extension's key names the type "Quillet.Document", whose key holds
// the description and the open command. Written under HKEY_CURRENT_USER\Software\Classes, read
// through the merged HKEY_CLASSES_ROOT view. Both are plain QSettings, so the same logic runs
// on an INI file elsewhere.
class RegistryFileAssociations final : public FileAssociations {
 public:
  static constexpr const char* kTypeName = "Quillet.Document";

  // `merged_classes` may be null: then `user_classes` is read as well.
  RegistryFileAssociations(std::unique_ptr<QSettings> user_classes,
                           std::unique_ptr<QSettings> merged_classes, QString program_path);
  // The user's own registry.
  static std::unique_ptr<RegistryFileAssociations> ForCurrentUser(const QString& program_path);

  QString FileTypeDescription(const QString& extension) const override;
  [[nodiscard]] Status RegisterFileType(const QString& extension) override;
  [[nodiscard]] Status UnregisterFileType(const QString& extension) override;

  // `"<program>" "%1"`: quoted, so a program planted at a shorter path ("C:\Program.exe" for
  // "C:\Program Files\...") is never the one that runs.
  static QString OpenCommand(const QString& program_path);

 private:
  QSettings& Reader() const { return merged_ ? *merged_ : *user_; }

  std::unique_ptr<QSettings> user_;
  std::unique_ptr<QSettings> merged_;
  QString program_path_;
};

}  // namespace quillet
