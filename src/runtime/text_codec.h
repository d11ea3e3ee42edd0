#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillet {

// The one place where the core's Windows-1252 text meets Qt's Unicode.
QString FromWindows1252(std::string_view text);
// Characters Windows-1252 cannot hold become '?'.
std::string ToWindows1252(const QString& text);

}  // namespace quillet
