#pragma once

// Objects written straight into the table, and a recorder of what the status bar showed, for
// the comparison tests.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "list/compare_criteria.h"
#include "runtime/status_sink.h"

namespace quillet::test {

// The six boxes from the bits of 0..63: type and ID, name, version, date, time, size.
inline CompareCriteria FromBits(int bits) {
  return {(bits & 1) != 0, (bits & 2) != 0,  (bits & 4) != 0,
          (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0};
}

// An object's nine texts in field order; each test changes what it is about.
struct Obj {
  std::string type = "Codeunit", id = "        80", name = "Posting", modified, version = "V1",
              date = "2008-12-31", time = "12:00:00", size = "      1234", compiled;
};

// Replaces the objects of `file`.
inline void StoreFile(ObjectTable& table, int file, const std::vector<Obj>& objects) {
  int row = 0;
  for (const Obj& o : objects) {
    const std::string* texts[] = {&o.type, &o.id,   &o.name, &o.modified, &o.version,
                                  &o.date, &o.time, &o.size, &o.compiled};
    ++row;
    for (int f = 0; f < kFieldCount; ++f) table.Store(file, row, static_cast<Field>(f), *texts[f]);
  }
  table.SetCount(file, row);
}

// What each panel and the progress bar showed, in order, a repeat of the value just shown left
// out: what a user could see, however often it was written.
class StatusLog final : public StatusSink {
 public:
  void SetPanelText(int panel, std::string_view text) override {
    Add(panels[panel], std::string(text));
  }
  void ShowFilePanel(int, std::string_view) override {}
  void SetProgress(double value) override { Add(progress, value); }
  void SetCompareCommandsEnabled(bool, bool) override {}

  std::string Last(int panel) { return panels[panel].empty() ? "" : panels[panel].back(); }
  bool operator==(const StatusLog& other) const {
    return panels == other.panels && progress == other.progress;
  }

  std::map<int, std::vector<std::string>> panels;
  std::vector<double> progress;
  long long writes = 0;

 private:
  template <class T>
  void Add(std::vector<T>& values, const T& value) {
    ++writes;
    if (values.empty() || values.back() != value) values.push_back(value);
  }
};

}  // namespace quillet::test
