#include "desktop/mimeapps_list.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

constexpr const char* kType = "application/x-q";
constexpr const char* kId = "q.desktop";

struct EditCase {
  const char* what;
  std::string before;
  bool first;
  std::string after;
};

TEST(MimeappsList, EditsOnlyTheEntryOfTheType) {
  const EditCase cases[] = {
      {"an empty file gets the group", "", true,
       "[Default Applications]\napplication/x-q=q.desktop;\n"},
      {"a file without the group gets it after a blank line", "[Added Associations]\na=b;\n", true,
       "[Added Associations]\na=b;\n\n[Default Applications]\napplication/x-q=q.desktop;\n"},
      {"an unended last line is ended first", "[Added Associations]\na=b;", true,
       "[Added Associations]\na=b;\n\n[Default Applications]\napplication/x-q=q.desktop;\n"},
      {"the entry goes after the group's last entry, before its blank lines",
       "[Default Applications]\nx=y;\n\n\n[Removed Associations]\n", true,
       "[Default Applications]\nx=y;\napplication/x-q=q.desktop;\n\n\n[Removed Associations]\n"},
      {"new lines end as the first line does", "[Default Applications]\r\nx=y;\r\n", true,
       "[Default Applications]\r\nx=y;\r\napplication/x-q=q.desktop;\r\n"},
      {"Quillet goes before the others, the line keeps its end",
       "[Default Applications]\r\napplication/x-q=other.desktop;\r\n", true,
       "[Default Applications]\r\napplication/x-q=q.desktop;other.desktop;\r\n"},
      {"moved to the front from further back",
       "[Default Applications]\napplication/x-q=a.desktop;q.desktop;\n", true,
       "[Default Applications]\napplication/x-q=q.desktop;a.desktop;\n"},
      {"already first: the bytes stay, blanks and all",
       "[Default Applications]\n application/x-q = q.desktop; a;\n", true,
       "[Default Applications]\n application/x-q = q.desktop; a;\n"},
      {"taken off, the others stay", "[Default Applications]\napplication/x-q=a;q.desktop;b;\n",
       false, "[Default Applications]\napplication/x-q=a;b;\n"},
      {"an entry left empty goes", "[Default Applications]\napplication/x-q=q.desktop;\nz=1\n",
       false, "[Default Applications]\nz=1\n"},
      {"not there: nothing to take off", "[Default Applications]\napplication/x-q=a;\n", false,
       "[Default Applications]\napplication/x-q=a;\n"},
      {"the type in another group is not the default",
       "[Added Associations]\napplication/x-q=a;\n[Default Applications]\n", true,
       "[Added Associations]\napplication/x-q=a;\n[Default Applications]\n"
       "application/x-q=q.desktop;\n"},
      {"only the first group of defaults is edited",
       "[Default Applications]\n[Default Applications]\napplication/x-q=a;\n", true,
       "[Default Applications]\napplication/x-q=q.desktop;\n[Default Applications]\n"
       "application/x-q=a;\n"},
      {"a longer key is another key", "[Default Applications]\napplication/x-qq=a;\n", true,
       "[Default Applications]\napplication/x-qq=a;\napplication/x-q=q.desktop;\n"},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(EditDefaultApplications(c.before, kType, kId, c.first), c.after);
  }
}

TEST(MimeappsList, KeepsBytesThatAreNotUtf8) {
  using namespace std::string_literals;
  const std::string list = "# ge\xe4ndert\n[Default Applications]\nt=\xff\xfe;\0x\n"s;
  const std::string edited = EditDefaultApplications(list, kType, kId, true);
  EXPECT_EQ(edited, list + "application/x-q=q.desktop;\n");
  EXPECT_EQ(EditDefaultApplications(edited, kType, kId, false), list);
}

TEST(MimeappsList, LooksUpWhatTheEditorWrites) {
  EXPECT_EQ(KeyFileValue("[Desktop Entry]\nName = Other Viewer \nName=Second\n", "[Desktop Entry]",
                         "Name"),
            "Other Viewer");
  EXPECT_EQ(KeyFileValue("[Other]\nName=x\n", "[Desktop Entry]", "Name"), "");
  EXPECT_EQ(KeyFileValue("[Desktop Entry]\n=x\nName\n", "[Desktop Entry]", ""), "");
  // Groups of one name count as one.
  EXPECT_EQ(KeyFileValue("[A]\n[B]\nk=b\n[A]\r\nk=a\r\n", "[A]", "k"), "a");
  for (const char* list :
       {"", "[Default Applications]\napplication/x-q=a;\n",
        "[Default Applications]\n[Default Applications]\napplication/x-q=a;\n"}) {
    SCOPED_TRACE(list);
    const std::string edited = EditDefaultApplications(list, kType, kId, true);
    EXPECT_EQ(KeyFileValue(edited, kDefaultApplicationsGroup, kType).rfind("q.desktop;", 0), 0u);
  }
}

}  // namespace
}  // namespace quillet
