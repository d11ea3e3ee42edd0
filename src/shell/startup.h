#pragma once

#include <QIcon>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "objects/object_table.h"
#include "shell/command_line.h"

namespace quillet {

class FileAssociations;
class FrmMain;
class FrmSettings;
class FrmUseCompare;
class SettingsStore;
class UserDialogs;

// The markers of the base's, file #1's and file #2's rows, in the list and the status bar, by
// file number.
std::array<QIcon, 3> FileIcons();

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
  void Start(const std::vector<NativeText>& arguments);

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

// What the command line names: file #1, or file #1 and file #2 and a comparison of them; any
// other name is refused with a message.
void OpenCommandLineFiles(FrmMain& main, UserDialogs& dialogs,
                          const std::vector<NativeText>& arguments);

int RunQuillet(int argc, char* argv[]);

}  // namespace quillet
