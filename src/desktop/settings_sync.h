#pragma once

#include <QSettings>

#include "platform/result.h"

namespace quillet {

// Writes what `settings` holds to its store now, or says why it could not: the registry or a
// file that may not be written, or a file whose old contents could not be read as settings
// (Qt then leaves it alone rather than overwrite it).
[[nodiscard]] Status SyncSettings(QSettings& settings);

}  // namespace quillet
