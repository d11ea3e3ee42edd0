// The Windows backend on an INI file that stands in for the registry.
#include <gtest/gtest.h>

#include <QSettings>

#include "desktop/file_associations_registry.h"
#include "support/temp_dir.h"
#include "ui_support.h"

namespace quillet {
namespace {

constexpr const char* kWindowsProgram = "C:\\Program Files\\Quillet\\quillet.exe";

struct RegistryFixture {
  RegistryFixture() : classes(test::QPath(dir, "classes.ini")) {}
  RegistryFileAssociations Backend() const {
    return RegistryFileAssociations(std::make_unique<QSettings>(classes, QSettings::IniFormat),
                                    nullptr, kWindowsProgram);
  }
  QVariant Value(const QString& key) const {
    return QSettings(classes, QSettings::IniFormat).value(key);
  }
  test::TempDir dir;
  QString classes;
};

TEST(RegistryFileAssociations, RegistersAndUnregistersTheQuilletType) {
  RegistryFixture f;
  RegistryFileAssociations backend = f.Backend();
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "");

  EXPECT_TRUE(backend.RegisterFileType(".fob"));
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Quillet file");
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "");
  EXPECT_EQ(f.Value(".fob/.").toString(), "Quillet.Document");
  EXPECT_EQ(f.Value("Quillet.Document/.").toString(), "Quillet file");
  // Quoted, so "C:\Program.exe" can never stand in for the program.
  EXPECT_EQ(f.Value("Quillet.Document/shell/open/command/.").toString(),
            R"("C:\Program Files\Quillet\quillet.exe" "%1")");
  EXPECT_EQ(QSettings(f.classes, QSettings::IniFormat).childGroups(),
            QStringList({".fob", "Quillet.Document"}));

  EXPECT_TRUE(backend.RegisterFileType(".fbk"));
  EXPECT_TRUE(backend.UnregisterFileType(".fob").ok());
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "");
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "Quillet file");
  EXPECT_FALSE(f.Value(".fob/.").isValid());
  EXPECT_EQ(f.Value("Quillet.Document/.").toString(), "Quillet file");  // the type stays
  EXPECT_TRUE(backend.UnregisterFileType(".fob").ok());                 // not registered: fine
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "Quillet file");
}

TEST(RegistryFileAssociations, LeavesAnotherProgramsRegistrationAlone) {
  RegistryFixture f;
  {
    QSettings classes(f.classes, QSettings::IniFormat);
    classes.setValue(".fob/.", "Other.Document");
    classes.setValue("Other.Document/.", "Other file");
  }
  RegistryFileAssociations backend = f.Backend();
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Other file");
  EXPECT_TRUE(backend.UnregisterFileType(".fob").ok());
  EXPECT_EQ(f.Value(".fob/.").toString(), "Other.Document");
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Other file");
  // Ticking the box takes the extension over.
  EXPECT_TRUE(backend.RegisterFileType(".fob"));
  EXPECT_EQ(backend.FileTypeDescription(".fob"), "Quillet file");
}

TEST(RegistryFileAssociations, ReadsTheMergedViewAndWritesTheUsersOwn) {
  RegistryFixture f;
  const QString machine = test::QPath(f.dir, "machine.ini");
  {
    QSettings merged(machine, QSettings::IniFormat);
    merged.setValue(".fbk/.", "Other.Backup");
    merged.setValue("Other.Backup/.", "Other backup");
  }
  RegistryFileAssociations backend(std::make_unique<QSettings>(f.classes, QSettings::IniFormat),
                                   std::make_unique<QSettings>(machine, QSettings::IniFormat),
                                   kWindowsProgram);
  EXPECT_EQ(backend.FileTypeDescription(".fbk"), "Other backup");
  EXPECT_TRUE(backend.RegisterFileType(".fob"));
  EXPECT_EQ(f.Value(".fob/.").toString(), "Quillet.Document");
  EXPECT_FALSE(QSettings(machine, QSettings::IniFormat).contains(".fob/."));
}

// Both say why: a file where the store's folder should be makes every write fail.
TEST(RegistryFileAssociations, AStoreThatCannotBeWrittenSaysWhy) {
  test::TempDir dir;
  dir.Write("file", "");
  const QString classes = test::QPath(dir, "file/classes.ini");
  RegistryFileAssociations backend(std::make_unique<QSettings>(classes, QSettings::IniFormat),
                                   nullptr, kWindowsProgram);
  const std::string why = "cannot write " + classes.toStdString() + ": access denied";
  const Status registered = backend.RegisterFileType(".fob");
  EXPECT_FALSE(registered.ok());
  EXPECT_EQ(registered.error(), why);
  const Status unregistered = backend.UnregisterFileType(".fob");
  EXPECT_FALSE(unregistered.ok());
  EXPECT_EQ(unregistered.error(), why);
}

}  // namespace
}  // namespace quillet
