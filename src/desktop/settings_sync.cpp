#include "desktop/settings_sync.h"

namespace quillet {

Status SyncSettings(QSettings& settings) {
  settings.sync();
  const std::string store = settings.fileName().toStdString();
  switch (settings.status()) {
    case QSettings::NoError:
      return Ok();
    case QSettings::AccessError:
      return Fail("cannot write " + store + ": access denied");
    case QSettings::FormatError:
      return Fail("cannot write " + store + ": what it holds cannot be read as settings");
  }
  return Fail("cannot write " + store);
}

}  // namespace quillet
