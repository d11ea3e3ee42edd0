#include "shell/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "desktop/text_codec.h"
#include "shell/frm_main.h"
#include "ui_support.h"
#include "view/object_list_model.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

TEST(CommandLine, NameRules) {
  EXPECT_EQ(ArgumentText({"C:\\My", "Files\\a.fob"}), "C:\\My Files\\a.fob");
  EXPECT_EQ(CommandLineFileName("  a b.fob  "), "a b.fob");
  EXPECT_EQ(CommandLineFileName("\"a b.fob\""), "a b.fob");
  EXPECT_EQ(CommandLineFileName("\"a b.fobX"), "a b.fob");
  EXPECT_EQ(CommandLineFileName("\""), "");
  EXPECT_EQ(CommandLineFileName("\ta.fob"), "\ta.fob");  // only blanks are trimmed
  EXPECT_TRUE(HasObjectFileExtension("x.FoB"));
  EXPECT_TRUE(HasObjectFileExtension(".fbk"));
  EXPECT_FALSE(HasObjectFileExtension("x.fob.txt"));
  EXPECT_FALSE(HasObjectFileExtension("fob"));
  EXPECT_TRUE(HasTextFileExtension("notes.Txt"));
}

// Beside object files, what diff tools and shells hand over: /dev/null for the side that lacks
// the file, pipes for <(...). Other names still need an object file's extension.
TEST(CommandLine, TakesDevNullAndPipesWhateverTheirNames) {
  test::TempDir dir;
  const std::filesystem::path fifo = dir / "from-a-pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::filesystem::path notes = dir.Write("notes.txt", "text");
  const struct {
    std::vector<NativeText> arguments;
    CommandLine::Kind kind;
    CommandLine::Comparison comparison;
  } cases[] = {
      {{"/dev/null"}, CommandLine::Kind::kOneFile, CommandLine::Comparison::kNone},
      {{fifo.native()}, CommandLine::Kind::kOneFile, CommandLine::Comparison::kNone},
      {{"--changes", "/dev/null", "b.fob"},
       CommandLine::Kind::kTwoFiles,
       CommandLine::Comparison::kChanges},
      {{"--changes", "a.fbk", "/dev/null"},
       CommandLine::Kind::kTwoFiles,
       CommandLine::Comparison::kChanges},
      {{fifo.native(), "/dev/null"}, CommandLine::Kind::kTwoFiles, CommandLine::Comparison::kNone},
      {{notes.native()}, CommandLine::Kind::kInvalid, CommandLine::Comparison::kNone},
      {{"--changes", notes.native(), "b.fob"},
       CommandLine::Kind::kOneFile,
       CommandLine::Comparison::kNone},  // as before: one name, which ends in .fob
      {{"--change", "a.fob", "b.fob"},
       CommandLine::Kind::kUnknownOption,
       CommandLine::Comparison::kNone},  // said, not taken for a name
      {{"--help"}, CommandLine::Kind::kUnknownOption, CommandLine::Comparison::kNone},
  };
  for (const auto& c : cases) {
    const CommandLine line = ReadCommandLine(c.arguments);
    EXPECT_EQ(line.kind, c.kind) << c.arguments.front();
    EXPECT_EQ(line.comparison, c.comparison) << c.arguments.front();
  }
  EXPECT_FALSE(IsStreamName(notes));
  EXPECT_FALSE(IsStreamName(dir.path()));
  EXPECT_FALSE(IsStreamName(dir / "missing"));
}

// `quillet --changes /dev/null x.fob`, as difftool starts it for an added file: every object
// of x.fob is new, and the panel names /dev/null.
TEST(StartUp, AnAddedFileShowsEveryObjectAsNew) {
  test::TestProgram t(QStringList{"--changes", "/dev/null", test::Sample("sample.fob")});
  FrmMain& main = t.main();
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
  EXPECT_EQ(test::PanelText(main, Panel::kFile1), "/dev/null");
  EXPECT_EQ(test::PanelText(main, Panel::kFile2), test::Sample("sample.fob"));
  const QAbstractItemModel* model = test::ListModel(main);
  ASSERT_EQ(model->columnCount(), 11);
  ASSERT_EQ(model->rowCount(), 53);
  for (int row = 0; row < model->rowCount(); ++row) {
    ASSERT_EQ(model->data(model->index(row, ColumnIndex(Column::kStatus))).toString().trimmed(),
              "Only in #2")
        << row;
  }
  // Nothing to reload: /dev/null gave what it had, and a reload leaves it so.
  main.Reload();
  EXPECT_EQ(main.session().table().Count(1), 0);
  EXPECT_EQ(model->rowCount(), 53);
}

// A pipe named on the command line is read from its writer; the open dialog's way in still
// refuses it, as it refuses anything that is no file.
TEST(StartUp, APipeOnTheCommandLineIsReadTheOpenDialogRefusesIt) {
  test::TempDir dir;
  const std::filesystem::path fifo = dir / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string bytes = test::Slurp(test::Sample("sample.fob").toStdString());
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << bytes; });
  test::TestProgram t(QStringList{FromPath(fifo)});
  writer.join();
  EXPECT_EQ(t.main().session().table().Count(1), 60);
  EXPECT_EQ(test::PanelText(t.main(), Panel::kFile1), FromPath(fifo));
  EXPECT_TRUE(t.dialogs.messages.isEmpty());

  t.main().LoadAndShowFile(FromPath(fifo), 2);
  EXPECT_EQ(t.dialogs.messages.value(0), "Unable to read the file: it is not a regular file");
}

TEST(FileFilter, BecomesQtsForm) {
  EXPECT_EQ(QtFileFilter("Supported files (*.fob;*.fbk)|*.fob;*.fbk|Object files (*.fob)|*.fob|"
                         "All files|*.*"),
            "Supported files (*.fob *.fbk);;Object files (*.fob);;All files (*)");
}

TEST(TextCodec, Windows1252BothWays) {
  const std::string bytes =
      "Gr\xF6\xDF"
      "e \x80 \x9A \x81";
  const QString text = FromWindows1252(bytes);
  EXPECT_EQ(text, QString::fromUtf8("Größe € š \u0081"));
  EXPECT_EQ(ToWindows1252(text), bytes);
  EXPECT_EQ(ToWindows1252(QString::fromUtf8("a\u4e2db")), "a?b");
}

}  // namespace
}  // namespace quillet
