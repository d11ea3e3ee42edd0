// What the XDG backend does when the desktop's files or tools fail it, and the installed
// desktop files against the table of file kinds.
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <unistd.h>

#include <QFile>
#include <filesystem>

#include "desktop/desktop_entry.h"
#include "desktop/file_associations_xdg.h"
#include "objects/file_kinds.h"
#include "support/temp_dir.h"
#include "xdg_fixture.h"

namespace quillet {
namespace {

using test::ScopedEnvironment;

namespace fs = std::filesystem;

using test::ReadBytes;
using test::WriteFile;
using test::XdgFixture;

constexpr uid_t kNobody = 65534;

// Files as a user without root's rights sees them. Run as root, this thread's file-system user
// and group become nobody's for the while, which drops root's right to read any file.
class UnprivilegedFiles {
 public:
  UnprivilegedFiles() {
    if (::geteuid() != 0) return;
    ::setfsgid(kNobody);
    ::setfsuid(kNobody);
    // setfsuid answers with the user it had: asked again, with the one it has now.
    if (static_cast<uid_t>(::setfsuid(kNobody)) != kNobody) {
      why_not_ = "the file-system user could not be changed";
    }
  }
  ~UnprivilegedFiles() {
    if (::geteuid() != 0) return;
    ::setfsuid(0);
    ::setfsgid(0);
  }
  UnprivilegedFiles(const UnprivilegedFiles&) = delete;
  UnprivilegedFiles& operator=(const UnprivilegedFiles&) = delete;
  const std::string& why_not() const { return why_not_; }

 private:
  std::string why_not_;
};

// Every folder and file in the fixture may be written by anyone (a file the user may not write
// is refused before anything is read), so only the file made unreadable stands in the way.
void OpenFolders(const fs::path& root) {
  fs::permissions(root, fs::perms::all);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_symlink()) continue;
    if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::all);
    if (entry.is_regular_file()) {
      fs::permissions(entry.path(), fs::perms::owner_write | fs::perms::group_write |
                                        fs::perms::others_write | fs::perms::owner_read |
                                        fs::perms::group_read | fs::perms::others_read);
    }
  }
}

TEST(XdgFileAssociations, AFileThatCannotBeReadIsLeftAsItIsAndSaysSo) {
  struct Case {
    const char* what;
    QString (XdgFileAssociations::*path)() const;
  };
  for (const Case& c : {Case{"mimeapps.list", &XdgFileAssociations::MimeAppsListPath},
                        Case{"the desktop entry", &XdgFileAssociations::DesktopEntryPath}}) {
    SCOPED_TRACE(c.what);
    XdgFixture f;
    XdgFileAssociations backend(f.dirs, f.program, false);
    ASSERT_TRUE(backend.RegisterFileType(".fbk").ok());
    const QString path = (backend.*c.path)();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("# the user's own line\n");
    file.close();
    const QByteArray bytes = ReadBytes(path);
    OpenFolders(f.dir.path());
    fs::permissions(path.toStdString(), fs::perms::none);
    {
      const UnprivilegedFiles unprivileged;
      if (!unprivileged.why_not().empty()) GTEST_SKIP() << unprivileged.why_not();
      const std::string why = "cannot read " + path.toStdString() + ": permission denied";
      const Status registered = backend.RegisterFileType(".fob");
      EXPECT_FALSE(registered.ok());
      EXPECT_EQ(registered.error(), why);
      const Status unregistered = backend.UnregisterFileType(".fbk");
      EXPECT_FALSE(unregistered.ok());
      EXPECT_EQ(unregistered.error(), why);
    }
    EXPECT_EQ(fs::status(path.toStdString()).permissions(), fs::perms::none);
    fs::permissions(path.toStdString(), fs::perms::owner_read);
    EXPECT_EQ(ReadBytes(path), bytes);
  }
}

// A file that fails part-way is no shorter file: this process's own memory reads as a regular
// file whose first byte already fails.
TEST(XdgFileAssociations, AReadErrorIsNoEmptyFile) {
  for (const char* name : {"config/mimeapps.list", "data/applications/quillet.desktop"}) {
    SCOPED_TRACE(name);
    XdgFixture f;
    const fs::path link = f.dir / name;
    fs::create_directories(link.parent_path());
    fs::create_symlink("/proc/self/mem", link);
    const Status registered =
        XdgFileAssociations(f.dirs, f.program, false).RegisterFileType(".fob");
    EXPECT_FALSE(registered.ok());
    EXPECT_EQ(registered.error(), "cannot read " + link.string() + ": input/output error");
    EXPECT_TRUE(fs::is_symlink(link));
  }
}

TEST(XdgFileAssociations, ADatabaseToolThatFailsMakesRegisteringFail) {
  struct Case {
    const char* tool;
    const char* script;
    const char* folder;
    const char* why;
  };
  const Case cases[] = {
      {"update-mime-database", "exit 3", "/mime", "it ended with status 3"},
      {"update-mime-database", "kill -SEGV $$", "/mime", "it crashed"},
      {"update-desktop-database", "exit 1", "/applications", "it ended with status 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tool + std::string(": ") + c.script);
    XdgFixture f;
    const QString tools = test::QPath(f.dir, "tools");
    const QString tool = tools + '/' + c.tool;
    WriteFile(tool, QString("#!/bin/sh\n") + c.script + "\n");
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner);
    const ScopedEnvironment path("PATH", (tools + ':').toUtf8() + qgetenv("PATH"));
    const std::string why = std::string(c.tool) + " failed on " + f.dirs.data_home.toStdString() +
                            c.folder + ": " + c.why;
    XdgFileAssociations backend = f.Backend();
    const Status registered = backend.RegisterFileType(".fob");
    EXPECT_FALSE(registered.ok());
    EXPECT_EQ(registered.error(), why);
    const Status unregistered = backend.UnregisterFileType(".fob");
    EXPECT_FALSE(unregistered.ok());
    EXPECT_EQ(unregistered.error(), why);
  }
}

QByteArray Installed(const char* name) {
  QFile file(QString(QUILLET_SAMPLES) + "/../resources/install/" + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

TEST(InstalledDesktopFiles, AreTheTableOfFileKinds) {
  EXPECT_EQ(Installed("quillet.desktop"), InstalledDesktopEntry().toUtf8());
  EXPECT_EQ(Installed("quillet-mime.xml"), InstalledMimePackage());
  // One <mediatype> per kind, in the table's order.
  QByteArray media;
  QStringList types;
  for (const FileKind& kind : kFileKinds) {
    const QByteArray type(kind.mime_type.data(), static_cast<qsizetype>(kind.mime_type.size()));
    media += "    <mediatype>" + type + "</mediatype>\n";
    types << QString::fromUtf8(type);
  }
  const QByteArray metainfo = Installed("quillet.metainfo.xml.in");
  EXPECT_TRUE(metainfo.contains("<binary>quillet</binary>\n" + media + "  </provides>\n"))
      << metainfo.toStdString();
  // The per-user entry is the installed one with the program's own path.
  XdgFixture f;
  EXPECT_EQ(f.Backend().DesktopEntry(types),
            InstalledDesktopEntry().replace("Exec=quillet %f",
                                            "Exec=" + XdgFileAssociations::ExecLine(f.program)));
}

}  // namespace
}  // namespace quillet
