#include "cli/cli.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>
#include <cstring>
#include <string>
#include <vector>

#include "list/file_comparison.h"
#include "list/object_listing.h"
#include "objects/object_file_reader.h"
#include "output/list_file_writer.h"
#include "output/printout_painter.h"
#include "runtime/text_codec.h"

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

// Hands result rows to the output as they come: an equal comparison with few criteria can give
// hundreds of millions of rows, so nothing is kept beyond the output's buffer.
class RowsToOutput final : public ComparisonVisitor {
 public:
  RowsToOutput(const ObjectTable& table, RowOutput& output) : table_(table), output_(output) {}

  bool Row(int file, int index) override {
    row_.file = static_cast<std::uint8_t>(file);
    std::memcpy(row_.fields.data(), table_.Record(file, index).data(), row_.fields.size());
    return output_.Add(row_);
  }

 private:
  const ObjectTable& table_;
  RowOutput& output_;
  ObjectRow row_;
};

// Where the rows go and in what form.
struct OutputChoice {
  QString file;  // empty: standard output
  ListFormat format = ListFormat::kText;
  QString pdf;  // empty: no printout
};

std::unique_ptr<RowOutput> OpenOutput(const OutputChoice& choice, std::FILE* out, std::FILE* err) {
  if (choice.file.isEmpty()) return std::make_unique<StreamOutput>(out, choice.format);
  auto output = AtomicFileOutput::Open(choice.file, choice.format);
  if (output == nullptr) Say(err, QString("cannot write %1").arg(choice.file));
  return output;
}

bool FinishOutput(RowOutput& output, const OutputChoice& choice, std::FILE* err) {
  if (output.Finish()) return true;
  Say(err, choice.file.isEmpty() ? QString("cannot write the output")
                                 : QString("cannot write %1").arg(choice.file));
  return false;
}

// The printout of the rows, as the window prints it, into a PDF file that appears whole or
// not at all.
bool WritePdf(const QString& path, const ObjectList& list, const QString& file1,
              const QString& file2, std::FILE* err) {
  QSaveFile file(path);
  bool written = file.open(QIODevice::WriteOnly);
  if (written) {
    {
      QPdfWriter pdf(&file);
      pdf.setTitle("Quillet object list");
      pdf.setCreator("quillet-cli");
      PaintPrintout(pdf, list, {ToWindows1252(file1), ToWindows1252(file2), PrintDateTime()});
    }
    written = file.commit();
  }
  if (!written) Say(err, QString("cannot write %1").arg(path));
  return written;
}

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

// One run's table, rows and filter; the status goes nowhere, the messages are collected.
struct Session {
  explicit Session(const RowFilter& given_filter) : filter(given_filter) {}

  ObjectTable table;
  ObjectList list;
  RowFilter filter;
  NullStatusSink status;
  CollectingMessages messages;
  Workspace ws{table, list, filter, status, messages};
};

int RunList(const RowFilter& filter, const QString& file_name, const OutputChoice& choice,
            std::FILE* out, std::FILE* err) {
  Session s(filter);
  if (!Load(s.ws, s.messages, file_name, 1, err)) return kExitTrouble;
  ShowFileObjects(s.ws, 1);

  const auto output = OpenOutput(choice, out, err);
  if (output == nullptr) return kExitTrouble;
  for (const ObjectRow& row : s.list.Rows()) output->Add(row);
  if (!FinishOutput(*output, choice, err)) return kExitTrouble;
  if (!choice.pdf.isEmpty() && !WritePdf(choice.pdf, s.list, file_name, "no file", err)) {
    return kExitTrouble;
  }
  return kExitOk;
}

int RunCompare(bool equal, const CompareCriteria& criteria, const RowFilter& filter,
               const QString& first, const QString& second, const OutputChoice& choice,
               std::FILE* out, std::FILE* err) {
  Session s(filter);
  if (!Load(s.ws, s.messages, first, 1, err) || !Load(s.ws, s.messages, second, 2, err)) {
    return kExitTrouble;
  }

  const auto output = OpenOutput(choice, out, err);
  if (output == nullptr) return kExitTrouble;
  RowsToOutput rows(s.table, *output);
  if (equal) {
    ListEqualObjects(s.table, criteria, s.filter, s.status, rows, kNoPairLimit);
  } else {
    ListDifferentObjects(s.table, criteria, s.filter, s.status, rows);
  }
  if (!FinishOutput(*output, choice, err)) return kExitTrouble;
  if (!choice.pdf.isEmpty()) {
    // The printout is of a list, as in the window, with the window's limit on equal pairs.
    if (equal) {
      CompareEqual(s.ws, criteria);
    } else {
      CompareDifferent(s.ws, criteria);
    }
    for (const std::string& text : s.messages.texts) {
      Say(err, QString("warning: %1").arg(QString::fromStdString(text)));
    }
    if (!WritePdf(choice.pdf, s.list, first, second, err)) return kExitTrouble;
  }
  return !equal && output->rows() > 0 ? kExitDifferent : kExitOk;
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
      "Both take [-o FILE] [--format=text|csv|json] [--pdf FILE].\n"
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
  const QCommandLineOption output_option(
      {"o", "output"},
      "Write the rows to FILE (replaced whole, or not at all) instead of standard "
      "output.",
      "file");
  const QCommandLineOption format_option(
      "format",
      "text (the saved list: quoted fields, Windows-1252), csv or json (UTF-8). "
      "Default: text.",
      "format");
  const QCommandLineOption pdf_option("pdf", "Also write the printout of the rows as a PDF.",
                                      "file");
  parser.addOption(output_option);
  parser.addOption(format_option);
  parser.addOption(pdf_option);
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

  OutputChoice choice;
  choice.file = parser.value(output_option);
  choice.pdf = parser.value(pdf_option);
  if (parser.isSet(format_option)) {
    const QString format = parser.value(format_option).toLower();
    if (format == "csv") {
      choice.format = ListFormat::kCsv;
    } else if (format == "json") {
      choice.format = ListFormat::kJson;
    } else if (format != "text") {
      Say(err, QString("unknown format '%1' (the formats are text, csv and json)")
                   .arg(parser.value(format_option)));
      return kExitTrouble;
    }
  }
  if ((parser.isSet(output_option) && choice.file.isEmpty()) ||
      (parser.isSet(pdf_option) && choice.pdf.isEmpty())) {
    Say(err, "-o and --pdf need a file name");
    return kExitTrouble;
  }

  RowFilter filter;
  QString error;
  if (parser.isSet(types_option) && !ParseTypes(parser.value(types_option), filter, error)) {
    Say(err, error);
    return kExitTrouble;
  }
  filter.hide_system = parser.isSet(hide_system_option);
  if (!compare) return RunList(filter, positional.at(1), choice, out, err);

  CompareCriteria criteria;
  if (parser.isSet(criteria_option) &&
      !ParseCriteria(parser.value(criteria_option), criteria, error)) {
    Say(err, error);
    return kExitTrouble;
  }
  return RunCompare(equal, criteria, filter, positional.at(1), positional.at(2), choice, out, err);
}

}  // namespace quillet
