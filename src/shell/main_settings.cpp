#include "shell/main_settings.h"

#include "list/row_filter.h"
#include "shell/settings_store.h"

namespace quillet {
namespace {

// Stored booleans are -1 for true and 0 for false.
constexpr int kStoredTrue = -1;

// A number stored as itself; a stored value below the minimum reads as the default.
struct NumberSetting {
  const char* key;
  int MainSettings::*member;
  int default_value;
  int minimum;
};

constexpr NumberSetting kNumbers[] = {
    {"MainLeft", &MainSettings::left, 500, 0},
    {"MainTop", &MainSettings::top, 500, 0},
    {"MainWidth", &MainSettings::width, 11000, 0},
    {"MainHeight", &MainSettings::height, 5000, 0},
};

// A yes or no, written as `stored_true` or 0, read as yes when not 0.
struct FlagSetting {
  const char* key;
  bool MainSettings::*member;
  bool default_value;
  int stored_true;
};

constexpr FlagSetting kFlags[] = {
    {"MainZoomed", &MainSettings::zoomed, false, 1},
    {"HideSystem", &MainSettings::hide_system, false, kStoredTrue},
};

struct TextSetting {
  const char* key;
  QString MainSettings::*member;
};

constexpr TextSetting kTexts[] = {
    {"LastFile1", &MainSettings::last_file1},
    {"LastFile2", &MainSettings::last_file2},
    {"LastFileSaved", &MainSettings::last_file_saved},
};

// The recent files of each slot, beside the values above: by file number.
constexpr std::array<const char*, 3> kRecentKeys = {"RecentBase", "Recent1", "Recent2"};

// The type selection: a value per type, named as the type; shown only when exactly -1.
QString TypeKey(int type) {
  return QString::fromLatin1(kTypeNames[type].data(),
                             static_cast<qsizetype>(kTypeNames[type].size()));
}

// Column widths: Col1 to Col10; the columns that start hidden are written but never read.
QString ColumnKey(int index) { return QString("Col%1").arg(ColumnNumber(ColumnAt(index))); }

}  // namespace

MainSettings::MainSettings() {
  for (const NumberSetting& n : kNumbers) this->*n.member = n.default_value;
  for (const FlagSetting& f : kFlags) this->*f.member = f.default_value;
  types = kDefaultTypes;
  for (int c = 0; c < kColumnCount; ++c) column_widths[c] = kColumns[c].default_width;
}

MainSettings MainSettings::Read(const SettingsStore& store) {
  MainSettings s;
  for (const NumberSetting& n : kNumbers) {
    const int value = store.ReadNumber(n.key, n.default_value);
    s.*n.member = value < n.minimum ? n.default_value : value;
  }
  for (const FlagSetting& f : kFlags) {
    s.*f.member = store.ReadNumber(f.key, f.default_value ? f.stored_true : 0) != 0;
  }
  for (const TextSetting& t : kTexts) s.*t.member = store.ReadString(t.key, QString());
  for (int type = 0; type < kTypeCount; ++type) {
    s.types[type] =
        store.ReadNumber(TypeKey(type), kDefaultTypes[type] ? kStoredTrue : 0) == kStoredTrue;
  }
  for (int c = 0; c < kColumnCount; ++c) {
    if (kColumns[c].width_restored) {
      s.column_widths[c] = store.ReadNumber(ColumnKey(c), kColumns[c].default_width);
    }
  }
  for (std::size_t file = 0; file < kRecentKeys.size(); ++file) {
    s.recent_files[file] = store.ReadStringList(kRecentKeys[file]);
  }
  return s;
}

Status MainSettings::Write(SettingsStore& store) const {
  for (const NumberSetting& n : kNumbers) store.WriteNumber(n.key, this->*n.member);
  for (const FlagSetting& f : kFlags) store.WriteNumber(f.key, this->*f.member ? f.stored_true : 0);
  for (const TextSetting& t : kTexts) store.WriteString(t.key, this->*t.member);
  for (int type = 0; type < kTypeCount; ++type) {
    store.WriteNumber(TypeKey(type), types[type] ? kStoredTrue : 0);
  }
  for (int c = 0; c < kColumnCount; ++c) store.WriteNumber(ColumnKey(c), column_widths[c]);
  for (std::size_t file = 0; file < kRecentKeys.size(); ++file) {
    store.WriteStringList(kRecentKeys[file], recent_files[file]);
  }
  return store.Sync();
}

}  // namespace quillet
