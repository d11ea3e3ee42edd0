#include "shell/settings_store.h"

#include <QStandardPaths>
#include <filesystem>
#include <limits>
#include <system_error>

#include "desktop/settings_sync.h"
#include "desktop/text_codec.h"

namespace quillet {
namespace {

constexpr const char* kOrganisation = "Harlund";
constexpr const char* kApplication = "Quillet";

// Checked before QSettings sees the file: it would block opening a FIFO, and on saving rename a
// new file over whatever the name leads to, a device node included. A missing file, or a link to
// one, is fine: it is created on saving.
bool IsUsableFile(const QString& file_name) {
  std::error_code error;
  const std::filesystem::file_type type = std::filesystem::status(ToPath(file_name), error).type();
  return type == std::filesystem::file_type::regular ||
         type == std::filesystem::file_type::not_found;
}

std::unique_ptr<QSettings> OpenFile(const QString& file_name, QSettings::Format format) {
  if (!IsUsableFile(file_name)) return nullptr;
  return std::make_unique<QSettings>(file_name, format);
}

}  // namespace

// Where the user's store is a file, it is opened by name, so the file checked is the file used.
SettingsStore::SettingsStore()
    : settings_(UserFileName().isEmpty()
                    ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                  kOrganisation, kApplication)
                    : OpenFile(UserFileName(), QSettings::NativeFormat)) {}

SettingsStore::SettingsStore(const QString& ini_file)
    : settings_(OpenFile(ini_file, QSettings::IniFormat)) {}

QString SettingsStore::UserFileName() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  // Where QSettings keeps native settings here.
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + '/' +
         kOrganisation + '/' + kApplication + ".conf";
#else
  return {};  // the registry, or the system's preferences
#endif
}

int SettingsStore::ReadNumber(const QString& name, int default_value) const {
  if (!settings_) return default_value;
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
  if (!settings_) return default_value;
  const QVariant value = settings_->value(name);
  return value.isValid() ? value.toString() : default_value;
}

void SettingsStore::WriteNumber(const QString& name, int value) {
  if (settings_) settings_->setValue(name, value);
}

void SettingsStore::WriteString(const QString& name, const QString& value) {
  if (settings_) settings_->setValue(name, value);
}

QStringList SettingsStore::ReadStringList(const QString& name) const {
  if (!settings_) return {};
  const QVariant value = settings_->value(name);
  return value.isValid() ? value.toStringList() : QStringList();
}

void SettingsStore::WriteStringList(const QString& name, const QStringList& values) {
  if (settings_) settings_->setValue(name, values);
}

// A store left alone (persistence switched off) keeps nothing on purpose: no failure.
Status SettingsStore::Sync() {
  if (!settings_) return Ok();
  return SyncSettings(*settings_);
}

}  // namespace quillet
