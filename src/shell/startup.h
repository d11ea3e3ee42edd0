#pragma once

#include <QIcon>
#include <QString>
#include <array>
#include <memory>

#include "objects/object_table.h"
#include "shell/command_line.h"

namespace quillet {

class FileAssociations;
class FrmMain;
class FrmSettings;
class FrmUseCompare;
class SettingsStore;
class UserDialogs;

// The markers of file #1 and file #2 rows, in the list and the status bar.
std::array<QIcon, 2> FileIcons();

// What start-up creates and the run keeps: the object table, the main window and the two
// dialogs that are only ever shown and hidden.
class Program {
 public:
  // With the platform's file associations for this program.
  Program(SettingsStore& store, UserDialogs& dialogs);
  Program(SettingsStore& store, UserDialogs& dialogs, FileAssociations& associations);
  ~Program();

  // Creates the windows in their order, shows the main window and opens the file the argument
  // text names, if any.
  void Start(const NativeText& argument_text);

  FrmMain& main() { return *main_; }
  FrmSettings& settings_dialog() { return *settings_; }
  FrmUseCompare& use_compare_dialog() { return *use_compare_; }

 private:
  SettingsStore& store_;
  UserDialogs& dialogs_;
  std::unique_ptr<FileAssociations> own_associations_;
  FileAssociations& associations_;
  ObjectTable table_;
  std::unique_ptr<FrmMain> main_;
  FrmSettings* settings_ = nullptr;
  FrmUseCompare* use_compare_ = nullptr;
};

// The file named on the command line becomes file #1; any other name is refused with a message.
void OpenCommandLineFile(FrmMain& main, UserDialogs& dialogs, const NativeText& argument_text);

int RunQuillet(int argc, char* argv[]);

}  // namespace quillet
