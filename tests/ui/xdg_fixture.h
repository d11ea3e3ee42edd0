#pragma once

// Temporary XDG directories standing in for the user's Linux desktop, and the files in them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "desktop/file_associations_xdg.h"
#include "support/temp_dir.h"
#include "ui_support.h"

namespace quillet::test {

inline QString ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

inline void WriteFile(const QString& path, const QString& text) { WriteBytes(path, text.toUtf8()); }

// A desktop of its own: data, config, a "system" data dir and a program path with a blank.
struct XdgFixture {
  XdgFixture() {
    dirs.data_home = QPath(dir, "data");
    dirs.config_home = QPath(dir, "config");
    dirs.data_dirs = {QPath(dir, "system")};
    dirs.config_dirs = {QPath(dir, "etc")};
    program = QPath(dir, "Quillet Apps/quillet");
    WriteFile(program, "#!/bin/sh\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  XdgFileAssociations Backend() const { return XdgFileAssociations(dirs, program); }

  // What a desktop tool prints for these directories, or empty when it is not installed.
  QString Ask(const QString& tool, const QStringList& arguments) const {
    const QString path = QStandardPaths::findExecutable(tool);
    if (path.isEmpty()) return {};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "XDG_MENU_PREFIX"}) {
      environment.remove(name);
    }
    environment.insert("LC_ALL", "C");
    environment.insert("XDG_DATA_HOME", dirs.data_home);
    environment.insert("XDG_CONFIG_HOME", dirs.config_home);
    environment.insert("XDG_DATA_DIRS", dirs.data_dirs.join(':'));
    environment.insert("XDG_CONFIG_DIRS", dirs.config_dirs.join(':'));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(path, arguments);
    EXPECT_TRUE(process.waitForFinished(20000)) << tool.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  }

  // What xdg-mime says opens `mime_type`, when it is installed.
  void ExpectDesktopDefault(const QString& mime_type, const QString& expected) const {
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty()) return;
    EXPECT_EQ(Ask("xdg-mime", {"query", "default", mime_type}), expected)
        << mime_type.toStdString();
  }

  // What GLib, when gio is installed, opens a file named `name` with: the default application of
  // the type it gives the file.
  void ExpectGioOpensWith(const QString& name, const QString& expected) const {
    if (QStandardPaths::findExecutable("gio").isEmpty()) return;
    const QString file = QPath(dir, name);
    WriteFile(file, "some text\n");
    const QString info = Ask("gio", {"info", "-a", "standard::content-type", file});
    const QString mime_type = info.section("standard::content-type: ", 1).section('\n', 0, 0);
    const QString handlers = Ask("gio", {"mime", mime_type});
    EXPECT_EQ(handlers.section('\n', 0, 0).section(": ", -1), expected)
        << name.toStdString() << " is " << mime_type.toStdString() << "\n"
        << handlers.toStdString();
  }

  TempDir dir;
  XdgDirs dirs;
  QString program;
};

}  // namespace quillet::test
