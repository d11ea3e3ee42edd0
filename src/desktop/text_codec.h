#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace quillet {

// The one place where the core's Windows-1252 text meets Qt's Unicode.
QString FromWindows1252(std::string_view text);
// Characters Windows-1252 cannot hold become '?'.
std::string ToWindows1252(const QString& text);

// File names between Qt's text and the core's paths, as the platform names files.
QString FromPath(const std::filesystem::path& path);
std::filesystem::path ToPath(const QString& name);

}  // namespace quillet
