#pragma once

#include <QItemSelectionModel>
#include <QStringList>
#include <map>
#include <string>
#include <vector>

#include "gen/generator.h"
#include "ui_support.h"
#include "view/across_matrix_model.h"
#include "view/across_pane.h"

namespace quillet::test {

inline constexpr const char* kRenamed = "Renamed Only Here";

// Four copies of one release, site1.fob to site4.fob: site2 has a new version of an object,
// site3 renames another, site4 lacks a third; every other object is the same in all four.
struct Across : test::TestProgram {
  Across() {
    gen::Options options;
    options.objects = 60;
    options.repeated_tables = 3;
    options.system_share = 0.1;
    std::vector<gen::Object> release = gen::GenerateObjects(options);
    // Objects the first start lists (not TableData, not system) with a key of their own.
    std::map<std::string, int> keys;
    for (const gen::Object& object : release) ++keys[object.type + object.id];
    std::vector<std::size_t> plain;
    for (std::size_t i = 0; i < release.size(); ++i) {
      const gen::Object& object = release[i];
      if (object.type != "TableData" && object.id.front() == ' ' &&
          keys[object.type + object.id] == 1) {
        plain.push_back(i);
      }
    }
    renamed = release[plain.at(1)];
    missing = release[plain.at(3)];
    versioned = release[plain.at(5)];
    for (const gen::Object& object : release) {
      if (object.type == "TableData") continue;
      ++listed;
      if (object.id.front() == ' ') ++listed_without_system;
    }
    for (int file = 0; file < 4; ++file) {
      std::vector<gen::Object> copy = release;
      if (file == 1) copy[plain[5]].version = "A NEW VERSION";
      if (file == 2) copy[plain[1]].name = kRenamed;
      if (file == 3) copy.erase(copy.begin() + static_cast<std::ptrdiff_t>(plain[3]));
      names << Path(QString("site%1.fob").arg(file + 1));
      EXPECT_TRUE(gen::WriteFile(names.back().toStdString(), gen::EncodeFile(copy, options)));
    }
  }

  // "Compare many files…" on `files`, as the user picks them in the dialog.
  void Open(const QStringList& files) {
    dialogs.many_answers.push_back(files);
    test::Action(main(), Command::kCompareAcross)->trigger();
  }
  void Open() { Open(names); }

  AcrossPane& Pane() { return *main().findChild<AcrossPane*>("acrossPane"); }
  AcrossMatrixModel& Model() { return Pane().model(); }
  const AcrossMatrix& Matrix() { return *main().session().across(); }
  int Rows() { return Model().rowCount(); }
  QString Cell(int row, int column) { return Model().data(Model().index(row, column)).toString(); }
  // The shown row of an object's key, or -1.
  int RowOf(const gen::Object& object) {
    for (int row = 0; row < Rows(); ++row) {
      if (Cell(row, kAcrossTypeColumn) == QString::fromStdString(object.type) &&
          Cell(row, kAcrossIdColumn) == QString::fromStdString(object.id).trimmed()) {
        return row;
      }
    }
    return -1;
  }
  QStringList Letters(int row) {
    QStringList letters;
    for (int file = 0; file < Matrix().FileCount(); ++file) {
      letters << Cell(row, kAcrossFirstFileColumn + file);
    }
    return letters;
  }
  // Chooses one cell of each of `files`' columns in `row`, as a Ctrl+click would.
  void Choose(int row, std::initializer_list<int> files) {
    QItemSelectionModel& selection = *Pane().matrix().selectionModel();
    selection.clearSelection();
    for (const int file : files) {
      selection.select(Model().index(row, kAcrossFirstFileColumn + file),
                       QItemSelectionModel::Select);
    }
    selection.setCurrentIndex(Model().index(row, kAcrossFirstFileColumn + *files.begin()),
                              QItemSelectionModel::NoUpdate);
  }

  QStringList names;
  gen::Object renamed, missing, versioned;
  int listed = 0;  // key instances of the types a first start lists
  int listed_without_system = 0;
};

}  // namespace quillet::test
