#include "shell/main_settings.h"

#include "runtime/settings_store.h"

namespace quillet {
namespace {

// Stored booleans are -1 for true and 0 for false.
constexpr int kStoredTrue = -1;

int NonNegative(int value, int replacement) { return value < 0 ? replacement : value; }

QString ColumnName(int column) { return QString("Col%1").arg(column); }

QString TypeName(int type) {
  return QString::fromLatin1(kTypeNames[type].data(),
                             static_cast<qsizetype>(kTypeNames[type].size()));
}

}  // namespace

MainSettings MainSettings::Read(const SettingsStore& store) {
  MainSettings s;
  s.left = NonNegative(store.ReadNumber("MainLeft", 500), 500);
  s.top = NonNegative(store.ReadNumber("MainTop", 500), 500);
  s.width = NonNegative(store.ReadNumber("MainWidth", 11000), 11000);
  s.height = NonNegative(store.ReadNumber("MainHeight", 5000), 5000);
  s.zoomed = store.ReadNumber("MainZoomed", 0) != 0;
  s.last_file1 = store.ReadString("LastFile1", QString());
  s.last_file2 = store.ReadString("LastFile2", QString());
  s.last_file_saved = store.ReadString("LastFileSaved", QString());
  s.hide_system = store.ReadNumber("HideSystem", 0) != 0;
  for (int type = 0; type < kTypeCount; ++type) {
    const int fallback = type == kTableDataType ? 0 : kStoredTrue;
    s.types[type] = store.ReadNumber(TypeName(type), fallback) == kStoredTrue;
  }
  for (int column = 1; column <= 10; ++column) {
    if (column == 5 || column == 10) continue;
    s.column_widths[column - 1] = store.ReadNumber(ColumnName(column), s.column_widths[column - 1]);
  }
  return s;
}

void MainSettings::Write(SettingsStore& store) const {
  store.WriteNumber("MainLeft", left);
  store.WriteNumber("MainTop", top);
  store.WriteNumber("MainWidth", width);
  store.WriteNumber("MainHeight", height);
  store.WriteNumber("MainZoomed", zoomed ? 1 : 0);
  store.WriteString("LastFile1", last_file1);
  store.WriteString("LastFile2", last_file2);
  store.WriteString("LastFileSaved", last_file_saved);
  store.WriteNumber("HideSystem", hide_system ? kStoredTrue : 0);
  for (int type = 0; type < kTypeCount; ++type) {
    store.WriteNumber(TypeName(type), types[type] ? kStoredTrue : 0);
  }
  for (int column = 1; column <= 10; ++column) {
    store.WriteNumber(ColumnName(column), column_widths[column - 1]);
  }
  store.Sync();
}

}  // namespace quillet
