#include "cli/cli.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <string>
#include <vector>

#include "list/object_listing.h"
#include "objects/object_file_reader.h"
#include "output/export_line.h"

namespace quillet {
namespace {

// The command line tells the user through standard error once the work is done, so a message
// can say which file it is about and whether it is fatal.
class CollectingMessages final : public MessageSink {
 public:
  void ShowMessage(std::string_view text) override { texts.emplace_back(text); }
  std::vector<std::string> texts;
};

void Say(std::FILE* err, const QString& text) {
  std::fprintf(err, "quillet-cli: %s\n", text.toLocal8Bit().constData());
}

// "all", or type names separated by commas, in any letter case.
bool ParseTypes(const QString& value, RowFilter& filter, QString& error) {
  filter.types.fill(false);
  if (value.compare("all", Qt::CaseInsensitive) == 0) {
    filter.types.fill(true);
    return true;
  }
  for (const QString& part : value.split(',', Qt::SkipEmptyParts)) {
    const QString name = part.trimmed();
    int found = -1;
    for (int i = 0; i < kTypeCount; ++i) {
      if (name.compare(QString::fromLatin1(kTypeNames[i].data(), kTypeNames[i].size()),
                       Qt::CaseInsensitive) == 0) {
        found = i;
      }
    }
    if (found < 0) {
      error = QString(
                  "unknown object type '%1' (the types are TableData, Table, Form, Report, "
                  "Dataport, XMLport, Codeunit, Page, MenuSuite, or all)")
                  .arg(name);
      return false;
    }
    filter.types[found] = true;
  }
  return true;
}

bool WriteAll(std::FILE* out, const std::string& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
}

// Loads one file as file #1 and lists it. Gives false, after telling why, when the file could
// not be used.
bool LoadAndShow(Workspace& ws, CollectingMessages& messages, const QString& file_name,
                 std::FILE* err) {
  const std::string native_name = QFile::encodeName(file_name).toStdString();
  const LoadResult result = LoadObjectFile(ws, native_name, 1);
  if (result.status == LoadStatus::kMissing) {
    Say(err, QString("%1: no such file").arg(file_name));
    return false;
  }
  if (result.status == LoadStatus::kUnreadable) {
    Say(err, QString("cannot read %1: %2").arg(file_name, QString::fromStdString(result.error)));
    return false;
  }
  for (const std::string& text : messages.texts) {
    Say(err, QString("warning: %1: %2").arg(file_name, QString::fromStdString(text)));
  }
  ShowFileObjects(ws, 1);
  return true;
}

}  // namespace

int RunCli(const QStringList& arguments, std::FILE* out, std::FILE* err) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Lists the objects of an object file (.fob) or a backup file (.fbk) as lines of quoted,\n"
      "comma-separated fields.\n\n"
      "Commands:\n"
      "  list [--types=T1,T2,...|all] [--hide-system] FILE");
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help_option({"h", "help"}, "Show this help.");
  const QCommandLineOption version_option({"v", "version"}, "Show the version.");
  const QCommandLineOption types_option(
      "types", "Object types to list, separated by commas, or all. Default: all but TableData.",
      "types");
  const QCommandLineOption hide_system_option(
      "hide-system", "Leave out system objects (those with ten-digit IDs).");
  parser.addOption(help_option);
  parser.addOption(version_option);
  parser.addOption(types_option);
  parser.addOption(hide_system_option);
  parser.addPositionalArgument("command", "list");
  parser.addPositionalArgument("file", "The .fob or .fbk file to read.");

  if (!parser.parse(arguments)) {
    Say(err, parser.errorText());
    return kExitTrouble;
  }
  if (parser.isSet(help_option)) {
    return WriteAll(out, parser.helpText().toStdString()) ? kExitOk : kExitTrouble;
  }
  if (parser.isSet(version_option)) {
    const QString version =
        QCoreApplication::applicationName() + " " + QCoreApplication::applicationVersion() + "\n";
    return WriteAll(out, version.toStdString()) ? kExitOk : kExitTrouble;
  }

  const QStringList positional = parser.positionalArguments();
  if (positional.isEmpty()) {
    Say(err, "no command given; try --help");
    return kExitTrouble;
  }
  const QString command = positional.front();
  if (command != "list") {
    Say(err, QString("unknown command '%1'; try --help").arg(command));
    return kExitTrouble;
  }
  if (positional.size() != 2) {
    Say(err, "list takes exactly one file");
    return kExitTrouble;
  }

  RowFilter filter;
  if (parser.isSet(types_option)) {
    QString error;
    if (!ParseTypes(parser.value(types_option), filter, error)) {
      Say(err, error);
      return kExitTrouble;
    }
  }
  filter.hide_system = parser.isSet(hide_system_option);

  ObjectTable table;
  ObjectList list;
  NullStatusSink status;
  CollectingMessages messages;
  Workspace ws{table, list, filter, status, messages};
  if (!LoadAndShow(ws, messages, positional.at(1), err)) return kExitTrouble;

  std::string output;
  output.reserve(static_cast<std::size_t>(list.RowCount()) * 96);
  for (const ObjectRow& row : list.Rows()) AppendExportLine(output, row);
  if (!WriteAll(out, output)) {
    Say(err, "cannot write the output");
    return kExitTrouble;
  }
  return kExitOk;
}

}  // namespace quillet
