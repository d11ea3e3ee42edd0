#include "runtime/settings_store.h"

#include <limits>

namespace quillet {

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            "Harlund", "Quillet")) {}

SettingsStore::SettingsStore(const QString& ini_file)
    : settings_(std::make_unique<QSettings>(ini_file, QSettings::IniFormat)) {}

int SettingsStore::ReadNumber(const QString& name, int default_value) const {
  const QVariant value = settings_->value(name);
  if (!value.isValid()) return default_value;
  bool ok = false;
  const qlonglong number = value.toString().trimmed().toLongLong(&ok);
  if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
    return default_value;
  }
  return static_cast<int>(number);
}

QString SettingsStore::ReadString(const QString& name, const QString& default_value) const {
  const QVariant value = settings_->value(name);
  return value.isValid() ? value.toString() : default_value;
}

void SettingsStore::WriteNumber(const QString& name, int value) {
  settings_->setValue(name, value);
}

void SettingsStore::WriteString(const QString& name, const QString& value) {
  settings_->setValue(name, value);
}

void SettingsStore::Sync() { settings_->sync(); }

}  // namespace quillet
