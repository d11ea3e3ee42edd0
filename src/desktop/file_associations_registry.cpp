#include "desktop/file_associations_registry.h"

#include <QDir>

#include "desktop/settings_sync.h"

#ifdef Q_OS_WIN
#include <shlobj.h>
#endif

namespace quillet {
namespace {

// The unnamed (default) value of a key; Qt's registry backend maps "." to it.
QString DefaultValue(const QString& key) { return key + "/."; }

QString CommandKey() {
  return QString(RegistryFileAssociations::kTypeName) + "/shell/open/command";
}

// Explorer caches file types; it re-reads them when told.
void NotifyShell() {
#ifdef Q_OS_WIN
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
#endif
}

}  // namespace

RegistryFileAssociations::RegistryFileAssociations(std::unique_ptr<QSettings> user_classes,
                                                   std::unique_ptr<QSettings> merged_classes,
                                                   QString program_path)
    : user_(std::move(user_classes)),
      merged_(std::move(merged_classes)),
      program_path_(std::move(program_path)) {}

std::unique_ptr<RegistryFileAssociations> RegistryFileAssociations::ForCurrentUser(
    const QString& program_path) {
  return std::make_unique<RegistryFileAssociations>(
      std::make_unique<QSettings>("HKEY_CURRENT_USER\\Software\\Classes", QSettings::NativeFormat),
      std::make_unique<QSettings>("HKEY_CLASSES_ROOT", QSettings::NativeFormat), program_path);
}

QString RegistryFileAssociations::OpenCommand(const QString& program_path) {
  return QString("\"%1\" \"%2\"").arg(QDir::toNativeSeparators(program_path), "%1");
}

QString RegistryFileAssociations::FileTypeDescription(const QString& extension) const {
  QSettings& classes = Reader();
  const QString type = classes.value(DefaultValue(extension)).toString();
  if (type.isEmpty()) return {};
  return classes.value(DefaultValue(type)).toString();
}

Status RegistryFileAssociations::RegisterFileType(const QString& extension) {
  user_->setValue(DefaultValue(extension), kTypeName);
  user_->setValue(DefaultValue(kTypeName), kQuilletFileDescription);
  user_->setValue(DefaultValue(CommandKey()), OpenCommand(program_path_));
  Status stored = SyncSettings(*user_);
  NotifyShell();
  return stored;
}

Status RegistryFileAssociations::UnregisterFileType(const QString& extension) {
  // Another program's registration of the extension is that program's business.
  if (user_->value(DefaultValue(extension)).toString() != kTypeName) return Ok();
  user_->remove(DefaultValue(extension));
  Status stored = SyncSettings(*user_);
  NotifyShell();
  return stored;
}

}  // namespace quillet
