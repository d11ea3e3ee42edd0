#pragma once

#include <QString>
#include <array>

#include "objects/object_types.h"

namespace quillet {

class SettingsStore;

// What the main window keeps between runs. Placement and column widths are in twips.
struct MainSettings {
  int left = 500;
  int top = 500;
  int width = 11000;
  int height = 5000;
  bool zoomed = false;
  QString last_file1;
  QString last_file2;
  QString last_file_saved;
  bool hide_system = false;
  // Shown types in type order; a first start shows every type but TableData.
  std::array<bool, kTypeCount> types{false, true, true, true, true, true, true, true, true};
  // The Modified and Compiled columns start hidden, whatever was stored.
  std::array<int, 10> column_widths{500, 1000, 1000, 2200, 0, 1500, 1000, 1000, 1000, 0};

  static MainSettings Read(const SettingsStore& store);
  void Write(SettingsStore& store) const;
};

}  // namespace quillet
