// The XDG backend on temporary directories of the test's own, standing in for the user's Linux
// desktop.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <filesystem>

#include "desktop/file_associations_xdg.h"
#include "support/temp_dir.h"
#include "xdg_fixture.h"

namespace quillet {
namespace {

using test::ReadBytes;
using test::ReadFile;
using test::WriteBytes;
using test::WriteFile;
using test::XdgFixture;

TEST(XdgFileAssociations, RegistersAndUnregistersPerUser) {
  XdgFixture f;
  XdgFileAssociations backend = f.Backend();
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "");

  ASSERT_TRUE(backend.RegisterFileType(".fob"));
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Quillet file");
  EXPECT_EQ(backend.FileTypeDescription(".FOB"), "Quillet file");
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "");
  EXPECT_TRUE(backend.DesktopEntryPath().startsWith(f.dirs.data_home + "/applications/"));
  const QString entry = ReadFile(backend.DesktopEntryPath());
  EXPECT_TRUE(entry.contains("\nExec=\"" + f.program + "\" %f\n")) << entry.toStdString();
  EXPECT_TRUE(entry.contains("\nMimeType=application/x-quillet-fob;\n")) << entry.toStdString();
  EXPECT_TRUE(ReadFile(backend.MimePackagePath()).contains(R"(<glob pattern="*.fob"/>)"));
  EXPECT_EQ(ReadFile(f.dirs.config_home + "/mimeapps.list"),
            "[Default Applications]\napplication/x-quillet-fob=quillet.desktop;\n");
  f.ExpectDesktopDefault("application/x-quillet-fob", "quillet.desktop");
  const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
  if (!validate.isEmpty()) {
    QProcess process;
    process.start(validate, {backend.DesktopEntryPath()});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardOutput().toStdString();
  }

  ASSERT_TRUE(backend.RegisterFileType(".fbk"));
  EXPECT_TRUE(backend.UnregisterFileType(".fob").ok());
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "");
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "Quillet file");
  EXPECT_TRUE(
      ReadFile(backend.DesktopEntryPath()).contains("\nMimeType=application/x-quillet-fbk;\n"));
  EXPECT_FALSE(ReadFile(backend.MimePackagePath()).contains("*.fob"));
  EXPECT_EQ(ReadFile(f.dirs.config_home + "/mimeapps.list"),
            "[Default Applications]\napplication/x-quillet-fbk=quillet.desktop;\n");
  f.ExpectDesktopDefault("application/x-quillet-fob", "");

  EXPECT_TRUE(backend.UnregisterFileType(".fbk").ok());
  EXPECT_TRUE(backend.UnregisterFileType(".fbk").ok());
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "");
  EXPECT_FALSE(QFileInfo::exists(backend.MimePackagePath()));
  EXPECT_TRUE(QFileInfo::exists(backend.DesktopEntryPath()));  // Quillet stays an application
  EXPECT_FALSE(ReadFile(backend.DesktopEntryPath()).contains("MimeType"));
}

TEST(XdgFileAssociations, AnotherApplicationStaysWhereItIs) {
  XdgFixture f;
  const QString other =
      "[Desktop Entry]\nType=Application\nName=Other Viewer\nExec=true %f\n"
      "MimeType=application/x-other-fob;application/x-quillet-fbk;\n";
  WriteFile(f.dirs.data_dirs[0] + "/applications/other.desktop", other);
  // The system gives *.fob a type of its own and opens it with the other viewer.
  WriteFile(f.dirs.data_dirs[0] + "/mime/globs2", "# comment\n50:application/x-other-fob:*.fob\n");
  const QString list =
      "[Added Associations]\ntext/plain=other.desktop;\n\n"
      "[Default Applications]\napplication/x-other-fob=other.desktop;\n"
      "application/x-quillet-fbk=gone.desktop;other.desktop;\n";
  WriteFile(f.dirs.config_home + "/mimeapps.list", list);

  XdgFileAssociations backend = f.Backend();
  EXPECT_EQ(backend.MimeTypeOf(".fob"), "application/x-other-fob");
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Other Viewer");
  EXPECT_TRUE(backend.UnregisterFileType(".fob").ok());
  EXPECT_TRUE(backend.UnregisterFileType(".fbk").ok());
  EXPECT_EQ(ReadFile(f.dirs.config_home + "/mimeapps.list"), list);
  f.ExpectDesktopDefault("application/x-other-fob", "other.desktop");

  // Quillet before the others for .fbk; the rest of the file as it was.
  ASSERT_TRUE(backend.RegisterFileType(".fbk"));
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "Quillet file");
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Other Viewer");
  EXPECT_EQ(ReadFile(f.dirs.config_home + "/mimeapps.list"),
            "[Added Associations]\ntext/plain=other.desktop;\n\n"
            "[Default Applications]\napplication/x-other-fob=other.desktop;\n"
            "application/x-quillet-fbk=quillet.desktop;gone.desktop;other.desktop;\n");
  // Unregistering gives the extension back to the ones that had it.
  EXPECT_TRUE(backend.UnregisterFileType(".fbk").ok());
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "");
  EXPECT_EQ(ReadFile(f.dirs.config_home + "/mimeapps.list"), list);

  // The user picks the other viewer for Quillet's own type: that choice stays too.
  ASSERT_TRUE(backend.RegisterFileType(".fbk"));
  const QString chosen =
      "[Default Applications]\napplication/x-quillet-fbk=other.desktop;quillet.desktop;\n";
  WriteFile(f.dirs.config_home + "/mimeapps.list", chosen);
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "Other Viewer");
  EXPECT_TRUE(backend.UnregisterFileType(".fbk").ok());
  EXPECT_EQ(ReadFile(f.dirs.config_home + "/mimeapps.list"),
            "[Default Applications]\napplication/x-quillet-fbk=other.desktop;\n");
  f.ExpectDesktopDefault("application/x-quillet-fbk", "other.desktop");
}

TEST(XdgFileAssociations, RegisteringAgainTouchesNothing) {
  XdgFixture f;
  XdgFileAssociations backend = f.Backend();
  ASSERT_TRUE(backend.RegisterFileType(".fob"));
  const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
  const QStringList files{backend.DesktopEntryPath(), backend.MimePackagePath(),
                          backend.MimeAppsListPath()};
  for (const QString& path : files) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
  }
  EXPECT_TRUE(backend.RegisterFileType(".fob"));
  EXPECT_TRUE(backend.UnregisterFileType(".fbk").ok());
  for (const QString& path : files) {
    EXPECT_EQ(QFileInfo(path).lastModified(), old) << path.toStdString();
  }
}

TEST(XdgFileAssociations, WritesThroughALinkedMimeappsList) {
  XdgFixture f;
  const QString kept = test::QPath(f.dir, "dotfiles/mimeapps.list");
  WriteFile(kept, "[Default Applications]\n");
  QDir().mkpath(f.dirs.config_home);
  ASSERT_TRUE(QFile::link(kept, f.dirs.config_home + "/mimeapps.list"));
  ASSERT_TRUE(f.Backend().RegisterFileType(".fob"));
  EXPECT_TRUE(QFileInfo(f.dirs.config_home + "/mimeapps.list").isSymLink());
  EXPECT_EQ(ReadFile(kept), "[Default Applications]\napplication/x-quillet-fob=quillet.desktop;\n");
}

TEST(XdgFileAssociations, KeepsTheOtherLinesOfMimeappsListByteForByte) {
  XdgFixture f;
  // Latin-1 and other bytes that are not UTF-8, and line ends of another system.
  const QByteArray list =
      "# ge\xe4ndert am 3.2.\r\n[Added Associations]\r\ntext/plain=caf\xe9.desktop;\r\n\r\n"
      "[Default Applications]\r\ntext/html=\xff\xfe.desktop;\r\n"
      "application/x-quillet-fbk=caf\xe9.desktop;\r\n\r\n[Removed Associations]\r\n";
  WriteBytes(f.dirs.config_home + "/mimeapps.list", list);
  XdgFileAssociations backend = f.Backend();
  ASSERT_TRUE(backend.RegisterFileType(".fob"));
  ASSERT_TRUE(backend.RegisterFileType(".fbk"));
  QByteArray registered = list;
  registered.replace("fbk=caf", "fbk=quillet.desktop;caf");
  registered.insert(registered.indexOf("\r\n\r\n[Removed") + 2,
                    "application/x-quillet-fob=quillet.desktop;\r\n");
  EXPECT_EQ(ReadBytes(f.dirs.config_home + "/mimeapps.list"), registered);
  EXPECT_TRUE(backend.UnregisterFileType(".fob").ok());
  EXPECT_TRUE(backend.UnregisterFileType(".fbk").ok());
  EXPECT_EQ(ReadBytes(f.dirs.config_home + "/mimeapps.list"), list);
}

// A desktop that gives *.fob another type as well: two per-user MIME packages at the same weight,
// compiled here with the other type first, as update-mime-database may order them.
struct TiedFixture : XdgFixture {
  TiedFixture() {
    WriteFile(dirs.data_dirs[0] + "/applications/other.desktop",
              "[Desktop Entry]\nType=Application\nName=Other Viewer\nExec=true %f\n"
              "MimeType=application/x-other-fob;\n");
    WriteFile(dirs.data_home + "/mime/globs2",
              "50:application/x-other-fob:*.fob\n50:application/x-quillet-fob:*.fob\n");
    WriteFile(dirs.config_home + "/mimeapps.list", list);
  }
  // The compiled database above stays as written.
  XdgFileAssociations Backend() const { return XdgFileAssociations(dirs, program, false); }

  const QString list = "[Default Applications]\napplication/x-other-fob=other.desktop;\n";
};

TEST(XdgFileAssociations, OpensTheTypeTheDesktopGivesTheExtension) {
  TiedFixture f;
  XdgFileAssociations backend = f.Backend();
  EXPECT_EQ(backend.MimeTypeOf(".fob"), "application/x-other-fob");
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Other Viewer");

  ASSERT_TRUE(backend.RegisterFileType(".fob"));
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Quillet file");
  EXPECT_EQ(ReadFile(backend.MimeAppsListPath()),
            "[Default Applications]\napplication/x-other-fob=quillet.desktop;other.desktop;\n"
            "application/x-quillet-fob=quillet.desktop;\n");
  EXPECT_TRUE(ReadFile(backend.DesktopEntryPath())
                  .contains("\nMimeType=application/x-quillet-fob;application/x-other-fob;\n"));
  EXPECT_FALSE(ReadFile(backend.MimePackagePath()).contains("x-other"));  // not Quillet's to define

  EXPECT_TRUE(backend.UnregisterFileType(".fob").ok());
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Other Viewer");
  EXPECT_EQ(ReadFile(backend.MimeAppsListPath()), f.list);
  EXPECT_FALSE(ReadFile(backend.DesktopEntryPath()).contains("MimeType"));
}

TEST(XdgFileAssociations, ATypeBothExtensionsShareStaysWhileOneIsRegistered) {
  TiedFixture f;
  WriteFile(f.dirs.data_home + "/mime/globs2",
            "80:application/x-other-fob:*.fob\n80:application/x-other-fob:*.fbk\n"
            "50:application/x-quillet-fob:*.fob\n50:application/x-quillet-fbk:*.fbk\n");
  XdgFileAssociations backend = f.Backend();
  ASSERT_TRUE(backend.RegisterFileType(".fob"));
  ASSERT_TRUE(backend.RegisterFileType(".fbk"));
  EXPECT_TRUE(backend.UnregisterFileType(".fob").ok());
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "Quillet file");
  EXPECT_TRUE(ReadFile(backend.DesktopEntryPath())
                  .contains("\nMimeType=application/x-quillet-fbk;application/x-other-fob;\n"));
  EXPECT_TRUE(backend.UnregisterFileType(".fbk").ok());
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "Other Viewer");
  EXPECT_EQ(ReadFile(backend.MimeAppsListPath()), f.list);
}

TEST(XdgFileAssociations, AnotherListTheDesktopReadsFirstMakesRegisteringFail) {
  TiedFixture f;
  f.dirs.desktops = {"somedesk"};
  WriteFile(f.dirs.config_home + "/somedesk-mimeapps.list",
            "[Default Applications]\napplication/x-other-fob=other.desktop;\n");
  XdgFileAssociations backend = f.Backend();
  EXPECT_FALSE(backend.RegisterFileType(".fob"));
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Other Viewer");
}

TEST(XdgFileAssociations, WinsATieWithAnotherPackageOnTheRealDatabase) {
  XdgFixture f;
  if (QStandardPaths::findExecutable("update-mime-database").isEmpty()) {
    GTEST_SKIP() << "update-mime-database is not installed";
  }
  WriteFile(f.dirs.data_dirs[0] + "/applications/other.desktop",
            "[Desktop Entry]\nType=Application\nName=Other Viewer\nExec=true %f\n"
            "MimeType=application/x-other-fob;\n");
  WriteFile(f.dirs.data_home + "/mime/packages/other.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"application/x-other-fob\"><glob pattern=\"*.fob\"/></mime-type>\n"
            "</mime-info>\n");
  WriteFile(f.dirs.config_home + "/mimeapps.list",
            "[Default Applications]\napplication/x-other-fob=other.desktop;\n");
  XdgFileAssociations backend = f.Backend();
  ASSERT_TRUE(backend.RegisterFileType(".fob"));
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Quillet file");
  f.ExpectGioOpensWith("a.fob", "quillet.desktop");
  EXPECT_TRUE(backend.UnregisterFileType(".fob").ok());
  f.ExpectGioOpensWith("b.fob", "other.desktop");
}

TEST(XdgFileAssociations, NeverReplacesADeviceInPlaceOfMimeappsList) {
  XdgFixture f;
  const std::string device = (f.dir / "null").string();
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "making a device node needs root";
  }
  QDir().mkpath(f.dirs.config_home);
  ASSERT_TRUE(QFile::link(QString::fromStdString(device), f.dirs.config_home + "/mimeapps.list"));
  EXPECT_FALSE(f.Backend().RegisterFileType(".fob"));
  EXPECT_EQ(std::filesystem::symlink_status(device).type(), std::filesystem::file_type::character);
}

TEST(XdgFileAssociations, TheProgramPathIsOneWordWhateverItHolds) {
  EXPECT_EQ(XdgFileAssociations::ExecLine("/opt/My Apps/quillet"), R"("/opt/My Apps/quillet" %f)");
  // Quoting escapes " ` $ \ and field codes double %; the file format then doubles backslashes.
  EXPECT_EQ(XdgFileAssociations::ExecLine("/a/$x`/100%/q\"\\"),
            R"("/a/\\$x\\`/100%%/q\\"\\\\" %f)");
  EXPECT_EQ(XdgFileAssociations::ExecLine("/a\nb"), R"("/a\nb" %f)");
}

}  // namespace
}  // namespace quillet
