#include "shell/command_line.h"

#include <gtest/gtest.h>

#include "desktop/text_codec.h"
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
