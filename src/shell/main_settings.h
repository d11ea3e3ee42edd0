#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "list/columns.h"
#include "objects/object_types.h"
#include "platform/result.h"

namespace quillet {

class SettingsStore;

// What the main window keeps between runs. Placement and column widths are in twips. A new
// value holds the defaults of a first start.
struct MainSettings {
  MainSettings();

  int left;
  int top;
  int width;
  int height;
  bool zoomed;
  QString last_file1;
  QString last_file2;
  QString last_file_saved;
  bool hide_system;
  // Shown types in type order.
  std::array<bool, kTypeCount> types;
  // The Modified and Compiled columns start hidden, whatever was stored.
  std::array<int, kColumnCount> column_widths;
  // The last files of the base, file #1 and file #2 (by file number), newest first.
  std::array<QStringList, 3> recent_files;

  static MainSettings Read(const SettingsStore& store);
  // Stores every value and writes the store out, or says why it could not.
  [[nodiscard]] Status Write(SettingsStore& store) const;
};

}  // namespace quillet
