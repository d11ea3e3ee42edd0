#include "cli/cli.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstring>
#include <string>
#include <vector>

#include "list/file_comparison.h"
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

// A comma-separated choice of type-id, name, version, date, time and size, in any letter case;
// empty means none.
bool ParseCriteria(const QString& value, CompareCriteria& criteria, QString& error) {
  criteria = {false, false, false, false, false, false};
  for (const QString& part : value.split(',', Qt::SkipEmptyParts)) {
    const QString name = part.trimmed().toLower();
    if (name == "type-id") {
      criteria.use_type_id = true;
    } else if (name == "name") {
      criteria.use_name = true;
    } else if (name == "version") {
      criteria.use_version = true;
    } else if (name == "date") {
      criteria.use_date = true;
    } else if (name == "time") {
      criteria.use_time = true;
    } else if (name == "size") {
      criteria.use_bsize = true;
    } else {
      error = QString(
                  "unknown criterion '%1' (the criteria are type-id, name, version, date, time "
                  "and size)")
                  .arg(part.trimmed());
      return false;
    }
  }
  return true;
}

bool WriteAll(std::FILE* out, const std::string& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
}

// Writes result rows as export lines as they come: an equal comparison with few criteria can
// give hundreds of millions of rows, so nothing is kept beyond a buffer.
class ExportRows final : public ComparisonVisitor {
 public:
  ExportRows(const ObjectTable& table, std::FILE* out) : table_(table), out_(out) {
    buffer_.reserve(kBufferSize + 1024);
  }

  bool Row(int file, int index) override {
    row_.file = static_cast<std::uint8_t>(file);
    std::memcpy(row_.fields.data(), table_.Record(file, index).data(), row_.fields.size());
    AppendExportLine(buffer_, row_);
    ++rows_;
    return buffer_.size() < kBufferSize || Flush();
  }

  // Writes what is left; false when any write failed.
  bool Finish() { return Flush() && std::fflush(out_) == 0; }
  long long Rows() const { return rows_; }

 private:
  static constexpr std::size_t kBufferSize = 1 << 20;

  bool Flush() {
    ok_ = ok_ && std::fwrite(buffer_.data(), 1, buffer_.size(), out_) == buffer_.size();
    buffer_.clear();
    return ok_;
  }

  const ObjectTable& table_;
  std::FILE* out_;
  std::string buffer_;
  ObjectRow row_;
  long long rows_ = 0;
  bool ok_ = true;
};

// Loads one file as file #1 or #2. Gives false, after telling why, when the file could not be
// used.
bool Load(Workspace& ws, CollectingMessages& messages, const QString& file_name, int file,
          std::FILE* err) {
  const std::string native_name = QFile::encodeName(file_name).toStdString();
  const LoadResult result = LoadObjectFile(ws, native_name, file);
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
  messages.texts.clear();
  return true;
}

int RunList(const RowFilter& given_filter, const QString& file_name, std::FILE* out,
            std::FILE* err) {
  ObjectTable table;
  ObjectList list;
  RowFilter filter = given_filter;
  NullStatusSink status;
  CollectingMessages messages;
  Workspace ws{table, list, filter, status, messages};
  if (!Load(ws, messages, file_name, 1, err)) return kExitTrouble;
  ShowFileObjects(ws, 1);

  std::string output;
  output.reserve(static_cast<std::size_t>(list.RowCount()) * 96);
  for (const ObjectRow& row : list.Rows()) AppendExportLine(output, row);
  if (!WriteAll(out, output)) {
    Say(err, "cannot write the output");
    return kExitTrouble;
  }
  return kExitOk;
}

int RunCompare(bool equal, const CompareCriteria& criteria, const RowFilter& given_filter,
               const QString& first, const QString& second, std::FILE* out, std::FILE* err) {
  ObjectTable table;
  ObjectList list;
  RowFilter filter = given_filter;
  NullStatusSink status;
  CollectingMessages messages;
  Workspace ws{table, list, filter, status, messages};
  if (!Load(ws, messages, first, 1, err) || !Load(ws, messages, second, 2, err)) {
    return kExitTrouble;
  }

  ExportRows rows(table, out);
  if (equal) {
    ListEqualObjects(table, criteria, filter, status, rows, kNoPairLimit);
  } else {
    ListDifferentObjects(table, criteria, filter, status, rows);
  }
  if (!rows.Finish()) {
    Say(err, "cannot write the output");
    return kExitTrouble;
  }
  return !equal && rows.Rows() > 0 ? kExitDifferent : kExitOk;
}

}  // namespace

int RunCli(const QStringList& arguments, std::FILE* out, std::FILE* err) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Lists the objects of an object file (.fob) or a backup file (.fbk), or compares two such\n"
      "files, as lines of quoted, comma-separated fields.\n\n"
      "Commands:\n"
      "  list [--types=T1,T2,...|all] [--hide-system] FILE\n"
      "  compare --equal|--different [--criteria=LIST] [--types=...] [--hide-system] FILE1 FILE2\n"
      "\n"
      "Exit status: 0 done (for compare --different: no differences), 1 compare --different\n"
      "found differences, 2 trouble.");
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help_option({"h", "help"}, "Show this help.");
  const QCommandLineOption version_option({"v", "version"}, "Show the version.");
  const QCommandLineOption types_option(
      "types", "Object types to list, separated by commas, or all. Default: all but TableData.",
      "types");
  const QCommandLineOption hide_system_option(
      "hide-system", "Leave out system objects (those with ten-digit IDs).");
  const QCommandLineOption equal_option(
      "equal", "compare: list the pairs of objects that are equal in both files.");
  const QCommandLineOption different_option(
      "different", "compare: list the objects of each file that have no equal in the other.");
  const QCommandLineOption criteria_option(
      "criteria",
      "compare: what must be equal, separated by commas: type-id, name, version, date, time, "
      "size. Default: all six; empty: none.",
      "list");
  parser.addOption(help_option);
  parser.addOption(version_option);
  parser.addOption(types_option);
  parser.addOption(hide_system_option);
  parser.addOption(equal_option);
  parser.addOption(different_option);
  parser.addOption(criteria_option);
  parser.addPositionalArgument("command", "list or compare");
  parser.addPositionalArgument("files", "The .fob or .fbk file to list, or the two to compare.",
                               "FILE [FILE2]");

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
  const bool compare = command == "compare";
  if (command != "list" && !compare) {
    Say(err, QString("unknown command '%1'; try --help").arg(command));
    return kExitTrouble;
  }
  const bool equal = parser.isSet(equal_option), different = parser.isSet(different_option);
  if (compare) {
    if (equal == different) {
      Say(err, "compare takes one of --equal and --different");
      return kExitTrouble;
    }
    if (positional.size() != 3) {
      Say(err, "compare takes exactly two files");
      return kExitTrouble;
    }
  } else {
    if (equal || different || parser.isSet(criteria_option)) {
      Say(err, "--equal, --different and --criteria go with compare");
      return kExitTrouble;
    }
    if (positional.size() != 2) {
      Say(err, "list takes exactly one file");
      return kExitTrouble;
    }
  }

  RowFilter filter;
  QString error;
  if (parser.isSet(types_option) && !ParseTypes(parser.value(types_option), filter, error)) {
    Say(err, error);
    return kExitTrouble;
  }
  filter.hide_system = parser.isSet(hide_system_option);
  if (!compare) return RunList(filter, positional.at(1), out, err);

  CompareCriteria criteria;
  if (parser.isSet(criteria_option) &&
      !ParseCriteria(parser.value(criteria_option), criteria, error)) {
    Say(err, error);
    return kExitTrouble;
  }
  return RunCompare(equal, criteria, filter, positional.at(1), positional.at(2), out, err);
}

}  // namespace quillet
