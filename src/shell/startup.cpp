#include "shell/startup.h"

#include <QApplication>
#include <QIcon>

#include "desktop/file_associations.h"
#include "desktop/text_codec.h"
#include "platform/native_arguments.h"
#include "shell/command_line.h"
#include "shell/frm_main.h"
#include "shell/frm_settings.h"
#include "shell/guarded_application.h"
#include "shell/settings_store.h"
#include "view/frm_use_compare.h"
#include "view/user_dialogs.h"

// The pictures live in a static library, whose resource registration the linker would drop
// unless something asks for it.
static void RegisterPictures() { Q_INIT_RESOURCE(icons); }

namespace quillet {

std::array<QIcon, 3> FileIcons() {
  RegisterPictures();
  return {QIcon(":/icons/file0.svg"), QIcon(":/icons/file1.svg"), QIcon(":/icons/file2.svg")};
}

Program::Program(SettingsStore& store, UserDialogs& dialogs)
    : store_(store),
      dialogs_(dialogs),
      own_associations_(CreateFileAssociations(QCoreApplication::applicationFilePath())),
      associations_(*own_associations_) {}

Program::Program(SettingsStore& store, UserDialogs& dialogs, FileAssociations& associations)
    : store_(store), dialogs_(dialogs), associations_(associations) {}

Program::~Program() = default;

void Program::Start(const std::vector<NativeText>& arguments) {
  main_ = std::make_unique<FrmMain>(table_, store_, dialogs_, FileIcons());
  main_->frmmain_Load();
  // The dialogs belong to the main window, so they close with it and never keep the program
  // alive on their own.
  settings_ = new FrmSettings(main_.get(), associations_, dialogs_);
  FrmMain* main = main_.get();
  use_compare_ = new FrmUseCompare(main, [main](CompareMode mode, const CompareCriteria& criteria) {
    main->ShowComparison(mode, criteria);
  });
  main_->AttachDialogs(settings_, use_compare_);
  main_->setAcceptDrops(true);
  OpenCommandLineFiles(*main_, dialogs_, arguments);
}

void OpenCommandLineFiles(FrmMain& main, UserDialogs& dialogs,
                          const std::vector<NativeText>& arguments) {
  const CommandLine line = ReadCommandLine(arguments);
  switch (line.kind) {
    case CommandLine::Kind::kNothing:
      break;
    case CommandLine::Kind::kInvalid:
      dialogs.ShowMessage(&main, kInvalidFileTypeMessage);
      break;
    case CommandLine::Kind::kUnknownOption:
      dialogs.ShowMessage(&main, kUnknownOptionMessage + ShownInMessage(FromPath(line.first)) +
                                     "\n" + kWindowUsage);
      break;
    case CommandLine::Kind::kOneFile:
      // A name that is not there is passed over, as it always was.
      main.OpenNamedFile(line.first, 1, /*tell_missing=*/false);
      break;
    case CommandLine::Kind::kManyFiles:
      main.CompareAcrossFiles(line.files, InputKinds::kStreams);
      break;
    case CommandLine::Kind::kTwoFiles: {
      // Both are read, each named when it cannot be; a comparison with a side missing would
      // show the failure as a result.
      const bool first = main.OpenNamedFile(line.first, 1, /*tell_missing=*/true);
      const bool second = main.OpenNamedFile(line.second, 2, /*tell_missing=*/true);
      if (!first || !second) break;
      // With every criterion, as the criteria dialog starts.
      const CompareCriteria all;
      switch (line.comparison) {
        case CommandLine::Comparison::kNone:  // what a file manager's compare action asks
        case CommandLine::Comparison::kChanges:
          main.ShowComparison(CompareMode::kChanges, all);
          break;
        case CommandLine::Comparison::kDifferent:
          main.ShowComparison(CompareMode::kDifferent, all);
          break;
        case CommandLine::Comparison::kEqual:
          main.ShowComparison(CompareMode::kEqual, all);
          break;
      }
      break;
    }
  }
}

int RunQuillet(int argc, char* argv[]) {
  // The whole argument text is one file name: it is taken as the system gave it, and Qt never
  // sees it, so it cannot take "-style" or "-platform" out of a name as options of its own.
  const std::vector<NativeText> arguments = NativeArguments(argc, argv);
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  GuardedApplication app(qt_argc, qt_argv);
  QApplication::setOrganizationName("Harlund");
  QApplication::setApplicationName("Quillet");
  QApplication::setApplicationVersion(QUILLET_VERSION);
  SettingsStore store;
  QtUserDialogs dialogs;
  app.SetReporter(
      [&dialogs](const QString& text) { dialogs.ShowMessage(QApplication::activeWindow(), text); });
  Program program(store, dialogs);
  program.Start(arguments);
  return QApplication::exec();
}

}  // namespace quillet
