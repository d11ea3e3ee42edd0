// The stored settings live in a file the user may have pointed somewhere else: a link to a
// device switches persistence off, a FIFO would block. Such a file is never read or replaced.
#include "shell/settings_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QSettings>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_dir.h"
#include "ui_support.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

using test::ScopedEnvironment;
using test::Slurp;

// Holds both ends of a FIFO open, so a reader that opens it does not wait for a writer and a
// broken store fails the test instead of hanging it. What `bytes` holds is there to be read.
class OpenFifo {
 public:
  OpenFifo(const fs::path& path, const std::string& bytes) {
    if (::mkfifo(path.c_str(), 0600) != 0) return;
    fd_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd_ >= 0 && ::write(fd_, bytes.data(), bytes.size()) < 0) Close();
  }
  ~OpenFifo() { Close(); }
  OpenFifo(const OpenFifo&) = delete;
  OpenFifo& operator=(const OpenFifo&) = delete;
  bool ok() const { return fd_ >= 0; }

 private:
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int fd_ = -1;
};

// A node like /dev/null (character device 1,3) in the test's own folder; empty when this
// process may not make device nodes.
std::string MakeNullDevice(const fs::path& path) {
  if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) return {};
  return "making a device node needs root (" + std::string(std::strerror(errno)) + ")";
}

fs::file_type TypeOf(const fs::path& path) { return fs::symlink_status(path).type(); }

// Writes through a store on `file` and expects it back only when `kept`.
void WriteAndReadBack(const QString& file, bool kept) {
  {
    SettingsStore store(file);
    EXPECT_EQ(store.ReadNumber("Width", 11), 11);
    store.WriteNumber("Width", 42);
    store.WriteString("LastFile1", "/x/a.fob");
    EXPECT_TRUE(store.Sync().ok());
  }
  SettingsStore again(file);
  EXPECT_EQ(again.ReadNumber("Width", 11), kept ? 42 : 11);
  EXPECT_EQ(again.ReadString("LastFile1", "none"), kept ? "/x/a.fob" : "none");
}

TEST(SettingsStore, AMissingFileIsCreatedAndALinkToAFileIsWrittenThrough) {
  test::TempDir dir;
  WriteAndReadBack(test::QPath(dir, "new/settings.ini"), true);
  EXPECT_EQ(TypeOf(dir / "new/settings.ini"), fs::file_type::regular);

  dir.Write("kept.ini", "[General]\nHeight=9\n");
  fs::create_symlink(dir / "kept.ini", dir / "link.ini");
  WriteAndReadBack(test::QPath(dir, "link.ini"), true);
  EXPECT_EQ(TypeOf(dir / "link.ini"), fs::file_type::symlink);
  EXPECT_NE(Slurp(dir / "kept.ini").find("Width=42"), std::string::npos);
  EXPECT_EQ(SettingsStore(test::QPath(dir, "link.ini")).ReadNumber("Height", 0), 9);

  // A link to nothing yet: the file is made where it points, as a dotfile manager expects.
  fs::create_symlink(dir / "later.ini", dir / "dangling.ini");
  WriteAndReadBack(test::QPath(dir, "dangling.ini"), true);
  EXPECT_EQ(TypeOf(dir / "dangling.ini"), fs::file_type::symlink);
  EXPECT_EQ(TypeOf(dir / "later.ini"), fs::file_type::regular);
}

TEST(SettingsStore, AFifoIsNeitherReadNorReplaced) {
  test::TempDir dir;
  const OpenFifo fifo(dir / "fifo", "[General]\nWidth=7\n");
  ASSERT_TRUE(fifo.ok()) << std::strerror(errno);
  fs::create_symlink(dir / "fifo", dir / "link.ini");
  for (const char* name : {"fifo", "link.ini"}) {
    SCOPED_TRACE(name);
    WriteAndReadBack(test::QPath(dir, name), false);
    EXPECT_EQ(TypeOf(dir / "fifo"), fs::file_type::fifo);
  }
  EXPECT_EQ(TypeOf(dir / "link.ini"), fs::file_type::symlink);
  // Nothing beside it either: no new file, no lock file.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2);
}

TEST(SettingsStore, ALinkToADeviceSwitchesPersistenceOff) {
  test::TempDir dir;
  const std::string why_not = MakeNullDevice(dir / "null");
  if (!why_not.empty()) GTEST_SKIP() << why_not;
  fs::create_symlink(dir / "null", dir / "settings.ini");
  WriteAndReadBack(test::QPath(dir, "settings.ini"), false);
  EXPECT_EQ(TypeOf(dir / "null"), fs::file_type::character);
  EXPECT_EQ(TypeOf(dir / "settings.ini"), fs::file_type::symlink);
}

// A store that cannot be written says so when it is synced, and why.
TEST(SettingsStore, AStoreThatCannotBeWrittenFailsToSync) {
  test::TempDir dir;
  dir.Write("file", "");
  const QString file = test::QPath(dir, "file/settings.ini");
  SettingsStore store(file);
  store.WriteNumber("Width", 42);
  const Status synced = store.Sync();
  EXPECT_FALSE(synced.ok());
  EXPECT_EQ(synced.error(), "cannot write " + file.toStdString() + ": access denied");
}

TEST(SettingsStore, TheUsersFileIsWhereQtKeepsNativeSettings) {
  // A name of the test's own, so no one's settings are read.
  const QString probe =
      QSettings(QSettings::NativeFormat, QSettings::UserScope, "QuilletTestOrganisation", "Probe")
          .fileName();
  const QString suffix = "QuilletTestOrganisation/Probe.conf";
  ASSERT_TRUE(probe.endsWith(suffix)) << probe.toStdString();
  EXPECT_EQ(SettingsStore::UserFileName(), probe.chopped(suffix.size()) + "Harlund/Quillet.conf");
}

TEST(SettingsStore, TheUsersOwnStoreLeavesAFifoAlone) {
  test::TempDir dir;
  const ScopedEnvironment config_home("XDG_CONFIG_HOME", QByteArray(dir.path().c_str()));
  fs::create_directories(dir / "Harlund");
  const OpenFifo fifo(dir / "Harlund/Quillet.conf", "[General]\nWidth=7\n");
  ASSERT_TRUE(fifo.ok()) << std::strerror(errno);
  {
    SettingsStore store;
    EXPECT_EQ(store.ReadNumber("Width", 11), 11);
    store.WriteNumber("Width", 42);
    EXPECT_TRUE(store.Sync().ok());
  }
  EXPECT_EQ(TypeOf(dir / "Harlund/Quillet.conf"), fs::file_type::fifo);
}

}  // namespace
}  // namespace quillet
