// The comparison across many files in the window: how it starts, the matrix and its counts,
// the details of a row, two of its files handed to the changes view, and Save, Copy and Print.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <map>
#include <set>

#include "gen/generator.h"
#include "shell/command_line.h"
#include "shell/frm_drag_drop.h"
#include "shell/frm_drop_many.h"
#include "ui_support.h"
#include "view/across_details.h"
#include "view/across_matrix_model.h"
#include "view/across_palette.h"
#include "view/across_pane.h"

namespace quillet {
namespace {

using test::TestProgram;

constexpr const char* kRenamed = "Renamed Only Here";

// Four copies of one release: #2 renames an object, #3 lacks one, #1 has a new version of a
// third; every other object is the same in all four.
struct Across : TestProgram {
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

TEST(AcrossWindow, ManyFilesCommandShowsAColumnPerFileAndLettersOnTheirColours) {
  Across t;
  QAction* command = test::Action(t.main(), Command::kCompareAcross);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->shortcut(), QKeySequence("Ctrl+M"));
  EXPECT_TRUE(command->isEnabled());
  t.Open();
  EXPECT_EQ(t.dialogs.open_calls.back().front(), "Select the files to compare...");
  ASSERT_TRUE(t.main().session().AcrossShown());
  EXPECT_TRUE(t.Pane().isVisible());
  EXPECT_FALSE(test::ListWidget(t.main())->isVisible());

  ASSERT_EQ(t.Model().columnCount(), 8);
  const QStringList heads = {"Type", "ID", "Name", "Variants"};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(t.Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
              heads[column]);
  }
  for (int file = 0; file < 4; ++file) {
    const int column = kAcrossFirstFileColumn + file;
    EXPECT_EQ(t.Model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString("site%1.fob").arg(file + 1));
    EXPECT_EQ(t.Model().headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString(),
              t.names[file]);
  }

  // Only the rows that differ are listed at first: the three changed objects.
  ASSERT_EQ(t.Rows(), 3);
  const struct {
    const gen::Object& object;
    QStringList letters;
    int variants;
  } rows[] = {
      {t.renamed, {"A", "A", "B", "A"}, 2},
      {t.missing, {"A", "A", "A", ""}, 1},
      {t.versioned, {"A", "B", "A", "A"}, 2},
  };
  for (const auto& expected : rows) {
    const int row = t.RowOf(expected.object);
    ASSERT_GE(row, 0) << expected.object.id;
    EXPECT_EQ(t.Letters(row), expected.letters) << expected.object.id;
    EXPECT_EQ(t.Cell(row, kAcrossVariantsColumn).toInt(), expected.variants);
    // The name is the lowest-numbered file's.
    EXPECT_NE(t.Cell(row, kAcrossNameColumn), kRenamed);
    for (int file = 0; file < 4; ++file) {
      const QModelIndex cell = t.Model().index(row, kAcrossFirstFileColumn + file);
      const int variant = cell.data(AcrossMatrixModel::kVariantRole).toInt();
      const QColor colour = cell.data(Qt::BackgroundRole).value<QBrush>().color();
      EXPECT_EQ(colour, variant < 0 ? NoObjectColour() : PaintOf(variant).background);
    }
  }
  // A and B read apart in grey as well as in colour.
  EXPECT_GT(qAbs(qGray(PaintOf(0).background.rgb()) - qGray(PaintOf(1).background.rgb())), 16);

  // The status bar counts both kinds of row, whichever are listed.
  const QString counts = test::PanelText(t.main(), Panel::kFile2);
  EXPECT_EQ(counts, QString("Differs 3 \u00b7 Same %1").arg(t.listed - 3)) << counts.toStdString();
  EXPECT_EQ(test::PanelText(t.main(), Panel::kCount), "Count: 3");
}

TEST(AcrossWindow, ChoosingFilesWantsTwoOrMore) {
  Across t;
  t.Open({t.names[0]});
  EXPECT_EQ(t.dialogs.messages, QStringList{"Choose two files or more to compare."});
  EXPECT_EQ(t.main().session().across(), nullptr);
  t.Open({});  // cancelled
  EXPECT_EQ(t.main().session().across(), nullptr);
  EXPECT_EQ(t.dialogs.messages.size(), 1);
}

// The toggles, the type buttons, hide-system and the filter bar choose the matrix's rows; the
// counts follow the types and not the filter.
TEST(AcrossWindow, TogglesTypesHideSystemAndFilterChooseTheRows) {
  Across t;
  t.Open();
  const long long same = t.Matrix().StatusCount(AcrossStatus::kSame);
  t.Pane().findChild<QToolButton*>("show_same")->click();
  EXPECT_EQ(t.Rows(), 3 + same);
  t.Pane().findChild<QToolButton*>("show_differs")->click();
  EXPECT_EQ(t.Rows(), same);
  EXPECT_EQ(t.RowOf(t.renamed), -1);
  t.Pane().findChild<QToolButton*>("show_differs")->click();

  // A type button narrows it and widens it again.
  const int type = TypeIndex(t.renamed.type);
  ASSERT_GE(type, 0);
  t.main().tbMain_ButtonClick(TypeCommand(type));
  EXPECT_EQ(t.RowOf(t.renamed), -1);
  EXPECT_LT(t.Matrix().StatusCount(AcrossStatus::kDiffers), 3);
  t.main().tbMain_ButtonClick(TypeCommand(type));
  EXPECT_GE(t.RowOf(t.renamed), 0);

  t.main().session().SetHideSystem(true);
  t.main().tbMain_ButtonClick(TypeCommand(type));
  t.main().tbMain_ButtonClick(TypeCommand(type));
  for (int row = 0; row < t.Rows(); ++row) {
    EXPECT_LT(t.Cell(row, kAcrossIdColumn).size(), 10) << row;
  }
  EXPECT_EQ(t.Rows(), t.listed_without_system);

  // A row stays when any file's object matches: only #3 has the new name.
  t.main().SetFilterText("name:\"renamed only here\"");
  ASSERT_EQ(t.Rows(), 1);
  EXPECT_EQ(t.Letters(0), QStringList({"A", "A", "B", "A"}));
  EXPECT_EQ(test::PanelText(t.main(), Panel::kCount).left(12), "Count: 1 of ");
  t.main().SetFilterText("");
  EXPECT_EQ(t.Rows(), t.listed_without_system);
}

TEST(AcrossWindow, SortingKeepsTheRowsOfAKeyTogether) {
  Across t;
  t.Open();
  t.Pane().findChild<QToolButton*>("show_same")->click();
  // The repeated tables' keys have two rows each.
  QHeaderView& header = *t.Pane().matrix().header();
  for (const int column : {kAcrossNameColumn, kAcrossFirstFileColumn + 2, kAcrossVariantsColumn}) {
    for (const bool ascending : {true, false}) {
      header.sectionClicked(column);
      ASSERT_EQ(t.Matrix().sort_column(), column);
      EXPECT_EQ(t.Matrix().sort_ascending(), ascending);
      EXPECT_EQ(header.sortIndicatorSection(), column);
      std::set<QString> done;
      QString key;
      int instance = 0;
      int repeated = 0;
      for (int row = 0; row < t.Rows(); ++row) {
        const QString here = t.Cell(row, 0) + " " + t.Cell(row, 1);
        if (here == key) {
          EXPECT_EQ(t.Matrix().Row(row).instance, ++instance) << here.toStdString();
          ++repeated;
          continue;
        }
        EXPECT_TRUE(done.insert(here).second) << "apart: " << here.toStdString();
        key = here;
        instance = 0;
        EXPECT_EQ(t.Matrix().Row(row).instance, 0);
      }
      EXPECT_GT(repeated, 0);
    }
  }
}

// Under the matrix: a line per file, the fields that differ from variant A marked.
TEST(AcrossDetails, ShowTheRowInEveryFileWithWhatDiffersFromAMarked) {
  Across t;
  t.Open();
  AcrossDetailsModel& details = t.Pane().details().details();
  EXPECT_EQ(details.rowCount(), 0);
  EXPECT_TRUE(t.Pane().details().isVisible());
  const auto text = [&](int file, int column) {
    return details.data(details.index(file, column)).toString();
  };
  const auto bold = [&](int file, int column) {
    return details.data(details.index(file, column), Qt::FontRole).value<QFont>().bold();
  };
  constexpr int kName = AcrossDetailsModel::kVariantColumn + 1;
  constexpr int kVersion = kName + 1;

  t.Choose(t.RowOf(t.renamed), {0});
  ASSERT_EQ(details.rowCount(), 4);
  for (int file = 0; file < 4; ++file) {
    EXPECT_EQ(text(file, AcrossDetailsModel::kFileColumn), QString("site%1.fob").arg(file + 1));
    EXPECT_EQ(text(file, AcrossDetailsModel::kVariantColumn), file == 2 ? "B" : "A");
    EXPECT_EQ(text(file, kName) == kRenamed, file == 2) << file;
    EXPECT_EQ(bold(file, kName), file == 2) << file;
    EXPECT_FALSE(bold(file, kVersion)) << file;
  }
  EXPECT_EQ(details.Marked(2), FieldBit(Field::kName));
  EXPECT_EQ(details.Marked(0), 0u);

  t.Choose(t.RowOf(t.versioned), {3});
  EXPECT_EQ(text(1, kVersion), "A NEW VERSION");
  EXPECT_TRUE(bold(1, kVersion));
  EXPECT_FALSE(bold(1, kName));

  // A file without the object: a grey letter cell and nothing else.
  t.Choose(t.RowOf(t.missing), {1});
  EXPECT_EQ(text(3, AcrossDetailsModel::kVariantColumn), "");
  EXPECT_EQ(details.data(details.index(3, AcrossDetailsModel::kVariantColumn),
                         AcrossMatrixModel::kVariantRole),
            -1);
  EXPECT_EQ(text(3, kName), "");
  EXPECT_EQ(text(3, AcrossDetailsModel::kFileColumn), "site4.fob");

  // A new listing lets go of the row: its cells pointed into the rows listed before.
  t.Pane().findChild<QToolButton*>("show_same")->click();
  EXPECT_EQ(details.rowCount(), 0);
}

TEST(AcrossWindow, ShowChangesBetweenTwoChosenFiles) {
  Across t;
  t.Open();
  QPushButton* offer = t.Pane().findChild<QPushButton*>("showChangesBetween");
  ASSERT_NE(offer, nullptr);
  EXPECT_FALSE(offer->isEnabled());
  const int row = t.RowOf(t.renamed);
  t.Choose(row, {1});
  EXPECT_FALSE(offer->isEnabled());
  t.Choose(row, {0, 1, 3});
  EXPECT_FALSE(offer->isEnabled());
  EXPECT_TRUE(t.Pane().RowMenu()->actions().contains(t.Pane().show_changes_action()));
  EXPECT_FALSE(t.Pane().show_changes_action()->isEnabled());
  // Chosen from the right to the left: the left file is #1.
  t.Choose(row, {2});
  t.Pane().matrix().selectionModel()->select(t.Model().index(0, kAcrossFirstFileColumn + 1),
                                             QItemSelectionModel::Select);
  ASSERT_TRUE(offer->isEnabled());
  EXPECT_TRUE(t.Pane().show_changes_action()->isEnabled());
  offer->click();

  EXPECT_FALSE(t.main().session().AcrossShown());
  EXPECT_TRUE(test::ListWidget(t.main())->isVisible());
  EXPECT_FALSE(t.Pane().isVisible());
  EXPECT_EQ(t.main().session().list().view(), ListView::kChanges);
  EXPECT_EQ(t.main().session().Slot(1).name, ToPath(t.names[1]));
  EXPECT_EQ(t.main().session().Slot(2).name, ToPath(t.names[2]));
  EXPECT_EQ(test::PanelText(t.main(), Panel::kFile1), t.names[1]);

  // The same as loading the two and running Show changes on the same criteria.
  TestProgram direct(t.names[1]);
  direct.main().LoadAndShowFile(t.names[2], 2);
  direct.main().ShowComparison(CompareMode::kChanges, t.main().session().criteria());
  const ObjectList& list = t.main().session().list();
  const ObjectList& expected = direct.main().session().list();
  ASSERT_EQ(list.RowCount(), expected.RowCount());
  ASSERT_GT(list.RowCount(), 0);
  for (int r = 1; r <= list.RowCount(); ++r) {
    for (const Column column : {Column::kId, Column::kName, Column::kStatus}) {
      EXPECT_EQ(list.CellText(r, column), expected.CellText(r, column)) << r;
    }
  }

  // The matrix is kept: the way back shows it again.
  QPushButton* back = t.main().findChild<QPushButton*>("acrossBack");
  ASSERT_TRUE(back->isVisible());
  back->click();
  EXPECT_TRUE(t.main().session().AcrossShown());
  EXPECT_EQ(t.Rows(), 3);
}

TEST(AcrossWindow, TheCommandLineAndADropOfThreeFilesStartIt) {
  Across t;
  const QString notes = t.Path("notes.txt");
  QFile(notes).open(QIODevice::WriteOnly);
  const struct {
    std::vector<NativeText> arguments;
    CommandLine::Kind kind;
  } cases[] = {
      {{"--across", "a.fob", "b.fbk", "c.fob"}, CommandLine::Kind::kManyFiles},
      {{"--across", "a.fob", "/dev/null"}, CommandLine::Kind::kManyFiles},
      {{"--across", "a.fob"}, CommandLine::Kind::kInvalid},
      {{"--across", "a.fob", ToPath(notes).native()}, CommandLine::Kind::kInvalid},
  };
  for (const auto& c : cases) {
    const CommandLine line = ReadCommandLine(c.arguments);
    EXPECT_EQ(line.kind, c.kind) << c.arguments.back();
    if (c.kind == CommandLine::Kind::kManyFiles) {
      EXPECT_EQ(line.files.size(), c.arguments.size() - 1);
      EXPECT_EQ(line.files.front(), "a.fob");
    }
  }

  TestProgram started(QStringList{"--across", t.names[0], t.names[2], t.names[3]});
  ASSERT_TRUE(started.main().session().AcrossShown());
  EXPECT_EQ(started.main().session().across()->FileCount(), 3);
  EXPECT_EQ(started.main().session().across()->File(2).name, ToPath(t.names[3]));

  const auto drop = [&](const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    return HandleDroppedUrls(t.main(), t.dialogs, urls);
  };
  EXPECT_EQ(drop({t.names[0], t.names[1], notes}), nullptr);
  EXPECT_EQ(t.dialogs.messages, QStringList{kInvalidFileTypeMessage});
  EXPECT_TRUE(t.main().findChildren<FrmDropMany*>().isEmpty());
  EXPECT_EQ(drop(t.names), nullptr);
  FrmDropMany* offered = t.main().findChild<FrmDropMany*>();
  ASSERT_NE(offered, nullptr);
  EXPECT_TRUE(offered->findChild<QLabel*>("lbl1")->text().startsWith("Compare these 4 files"));
  offered->findChild<QPushButton*>("cmdCompareCancel")->click();
  EXPECT_EQ(t.main().session().across(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  drop(t.names.mid(1));
  t.main().findChild<FrmDropMany*>()->findChild<QPushButton*>("cmdCompareMany")->click();
  ASSERT_TRUE(t.main().session().AcrossShown());
  EXPECT_EQ(t.Matrix().FileCount(), 3);
  EXPECT_EQ(t.Letters(t.RowOf(t.renamed)), QStringList({"A", "B", "A"}));
}

// Keeps what Save and Copy hand on; the output layer's writers are tested on their own.
struct Recorder final : AcrossRowsWriter {
  Status Write(const std::filesystem::path& path, ListFormat format,
               const AcrossSaveContext& context, const AcrossRows& rows) override {
    Keep(format, context, rows);
    paths.push_back(path);
    if (!refusal.empty()) return Fail(refusal);
    return Ok();
  }
  Result<std::string> Text(ListFormat format, const AcrossSaveContext& context,
                           const AcrossRows& rows) override {
    Keep(format, context, rows);
    return std::string(format == ListFormat::kTsv ? "tsv" : "csv");
  }
  void Keep(ListFormat format, const AcrossSaveContext& context, const AcrossRows& rows) {
    struct Keys final : AcrossVisitor {
      bool Row(const AcrossRow& row) override {
        keys.emplace_back(row.key, row.instance);
        return true;
      }
      std::vector<std::pair<int, int>> keys;
    } keys;
    rows(keys);
    formats.push_back(format);
    files = context.files;
    written.push_back(std::move(keys.keys));
  }
  std::vector<ListFormat> formats;
  std::vector<std::filesystem::path> paths, files;
  std::vector<std::vector<std::pair<int, int>>> written;
  std::string refusal;
};

TEST(AcrossWindow, SaveCopyAndPrintTakeTheMatrixAsShown) {
  Across t;
  Recorder recorder;
  t.main().SetAcrossWriter(recorder);
  t.Open();
  t.Pane().findChild<QToolButton*>("show_same")->click();
  t.Pane().matrix().header()->sectionClicked(kAcrossFirstFileColumn + 1);
  std::vector<std::pair<int, int>> shown;
  for (int row = 0; row < t.Rows(); ++row) {
    shown.emplace_back(t.Matrix().Row(row).key, t.Matrix().Row(row).instance);
  }

  t.dialogs.save_answer = t.Path("matrix.csv");
  t.dialogs.save_filter = -1;  // every file: the extension decides
  t.main().tbMain_ButtonClick(Command::kSave);
  ASSERT_EQ(recorder.written.size(), 1u);
  EXPECT_EQ(recorder.written[0], shown);
  EXPECT_EQ(recorder.formats[0], ListFormat::kCsv);
  EXPECT_EQ(recorder.paths[0], ToPath(t.Path("matrix.csv")));
  ASSERT_EQ(recorder.files.size(), 4u);
  EXPECT_EQ(recorder.files[3], ToPath(t.names[3]));

  recorder.refusal = "no space left on device";
  t.main().tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.messages.back(),
            "Unable to save the file\n" + t.Path("matrix.csv") + ": no space left on device");

  // Copy takes the rows of the chosen cells, in the shown order, as TSV and CSV.
  t.Choose(4, {0});
  t.Pane().matrix().selectionModel()->select(t.Model().index(1, 2), QItemSelectionModel::Select);
  QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
  QCoreApplication::sendEvent(&t.Pane().matrix(), &copy);
  ASSERT_EQ(recorder.written.size(), 4u);
  EXPECT_EQ(recorder.written[2], (std::vector{shown[1], shown[4]}));
  EXPECT_EQ(recorder.formats[2], ListFormat::kTsv);
  EXPECT_EQ(recorder.formats[3], ListFormat::kCsv);
  EXPECT_EQ(QApplication::clipboard()->mimeData()->text(), "tsv");

  // Nothing listed: nothing is written.
  t.main().SetFilterText("name:\"no such name at all\"");
  ASSERT_EQ(t.Rows(), 0);
  t.main().tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.messages.back(), "The list is empty");
  EXPECT_EQ(recorder.written.size(), 4u);
  t.main().SetFilterText("");

  // The printout names the files by number and holds every row.
  for (const Command command : {Command::kPrint, Command::kPrintPreview}) {
    t.dialogs.print_to = t.Path(command == Command::kPrint ? "printed.pdf" : "preview.pdf");
    t.main().tbMain_ButtonClick(command);
    QProcess text;
    text.start("pdftotext", {"-layout", t.dialogs.print_to, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains("Comparison across 4 files")) << printed.toStdString();
    EXPECT_TRUE(printed.contains("4 " + t.names[3])) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QString::fromStdString(t.renamed.id).trimmed()));
  }
  EXPECT_EQ(t.dialogs.messages.size(), 2);
}

}  // namespace
}  // namespace quillet
