#include "cli/cli.h"

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_across.h"
#include "cli/cli_checks.h"
#include "cli/cli_messages.h"
#include "cli/cli_options.h"
#include "cli/cli_request.h"
#include "cli/filtered_output.h"
#include "commands/listing.h"
#include "commands/load_file.h"
#include "list/file_comparison.h"
#include "objects/code_page.h"
#include "output/list_file_writer.h"
#include "output/output_targets.h"
#include "output/pdf_document.h"
#include "output/summary_table.h"
#include "platform/output_file.h"
#include "platform/system_error.h"

namespace quillet {
namespace {

constexpr const char* kVersionLine = "quillet-cli " QUILLET_VERSION "\n";
// A PDF would garble a terminal.
constexpr const char* kPdfIsNotText =
    "it is a terminal, and a PDF is not text (write it to a file)";

using cli::CollectingMessages;
using cli::Continued;
using cli::Name;
using cli::Say;
using cli::TargetName;

// A file name in the printout's header, which is Windows-1252 text.
std::string HeaderName(const std::filesystem::path& path) {
  return Utf8ToWindows1252(path.string());
}

// Help and version to standard output; a failure says why, as every other output's does.
int WriteAll(std::FILE* out, std::FILE* err, const std::string& bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0) {
    return kExitOk;
  }
  Say(err, "cannot write standard output: " + ReasonText(errno != 0 ? errno : EIO));
  return kExitTrouble;
}

// Hands result rows to the output as they come: an equal comparison with few criteria can give
// hundreds of millions of rows, so nothing is kept beyond the output's buffer. The equal
// comparison's rows come in pairs.
class RowsToOutput final : public ComparisonVisitor {
 public:
  RowsToOutput(const ObjectTable& table, FilteredOutput& output, bool pairs)
      : table_(table), output_(output), pairs_(pairs) {}

  bool Row(int file, int index) override {
    ++rows_;
    const auto group = static_cast<std::uint32_t>(pairs_ ? (rows_ + 1) / 2 : 0);
    return output_.Add({file, table_.Record(file, index), ListView::kObjects, 0, 0, group});
  }
  // Rows the comparison gave, whatever the filter kept.
  long long rows() const { return rows_; }

 private:
  const ObjectTable& table_;
  FilteredOutput& output_;
  bool pairs_;
  long long rows_ = 0;
};

// Hands a keyed comparison's rows to the output as they come; a report learns the counts
// before the first row.
template <class Status>
class KeyedRowsToOutput final : public KeyedVisitor<Status> {
 public:
  KeyedRowsToOutput(const ObjectTable& table, RowOutput& output, FilteredOutput& filtered,
                    ListView view)
      : table_(table), output_(output), filtered_(filtered), view_(view) {}

  void Counted(std::span<const long long> counts) override {
    output_.SetCounts(StatusCountTexts(view_, counts));
  }
  bool Row(const KeyedRow<Status>& row) override {
    return filtered_.Add(
        {row.file, table_.Record(row.file, row.index), view_, static_cast<std::uint8_t>(row.status),
         static_cast<std::uint16_t>(row.changed), static_cast<std::uint32_t>(row.group)});
  }

 private:
  const ObjectTable& table_;
  RowOutput& output_;
  FilteredOutput& filtered_;
  ListView view_;
};

// One run's table, rows and filter; the status goes nowhere, the messages are collected.
struct Session {
  explicit Session(const CliRequest& request) : filter(request.filter) {
    list.SetQuery(request.query);  // what is listed and printed
  }

  ObjectTable table;
  ObjectList list{table};
  RowFilter filter;
  NullStatusSink status;
  CollectingMessages messages;
  Workspace ws{table, list, filter, status, messages};
};

class Run {
 public:
  Run(const CliRequest& request, std::FILE* out, std::FILE* err)
      : request_(request), out_(out), err_(err), s_(request) {}

  int List();
  int Compare();

 private:
  // The statuses --show chose; none when only the summary is wanted.
  template <class Status>
  StatusSet<Status> Listed() const {
    return request_.summary ? StatusSet<Status>() : StatusSet<Status>::FromBits(request_.show);
  }
  bool Load(const std::filesystem::path& file_name, int file);
  std::unique_ptr<RowOutput> OpenOutput();
  bool FinishOutput(RowOutput& output);
  bool WritePdf(const PrintHeader& header);

  const CliRequest& request_;
  std::FILE* out_;
  std::FILE* err_;
  Session s_;
};

// Loads one file as file #1 or #2. Gives false, after telling why, when the file could not be
// used.
bool Run::Load(const std::filesystem::path& file_name, int file) {
  // Pipes and devices are read as streams, and "-" is standard input, as in any Unix tool.
  const LoadResult result =
      LoadObjectFile(s_.ws, file_name, file, InputKinds::kStreamsAndStandardInput);
  if (result.status == LoadStatus::kMissing) {
    Say(err_, Name(file_name) + ": no such file");
    return false;
  }
  if (result.status == LoadStatus::kUnreadable) {
    Say(err_, "cannot read " + Name(file_name) + ": " + result.read.error());
    return false;
  }
  for (const std::string& text : s_.messages.texts) {
    Say(err_, "warning: " + Name(file_name) + ": " + Continued(text));
  }
  s_.messages.texts.clear();
  // Listed all the same: no objects is its listing. But a file of another kind given by mistake
  // should not pass for an empty one.
  if (result.no_directory) Say(err_, Name(file_name) + " holds no objects; is it an object file?");
  return true;
}

std::unique_ptr<RowOutput> Run::OpenOutput() {
  ListContext context;
  context.view = ViewOf(request_.mode);
  context.raw_csv = request_.raw;
  if (request_.command == CliCommand::kCompare) {
    context.criteria = CriteriaText(request_.criteria, HasStatus(context.view));
  }
  // As the window's report names them: the base only in the upgrade analysis, and file #2
  // even where there is none.
  if (request_.base) context.files.emplace_back("Base", HeaderName(*request_.base));
  context.files.emplace_back("File #1", HeaderName(request_.files.at(0)));
  context.files.emplace_back("File #2", request_.files.size() > 1 ? HeaderName(request_.files[1])
                                                                  : std::string("no file"));
  if (!request_.output || IsStandardStream(*request_.output)) {
    if (Status fits = CheckTerminal(request_.format, IsTerminal(out_)); !fits) {
      Say(err_, "cannot write standard output: " + fits.error());
      return nullptr;
    }
    return std::make_unique<StreamOutput>(out_, request_.format, context);
  }
  Result<std::unique_ptr<FileOutput>> opened =
      FileOutput::Open(*request_.output, request_.format, context);
  if (!opened) {
    Say(err_, "cannot write " + Name(*request_.output) + ": " + opened.error());
    return nullptr;
  }
  return std::move(opened.value());
}

bool Run::FinishOutput(RowOutput& output) {
  if (output.Finish()) return true;
  Say(err_, "cannot write " + TargetName(request_.output) + ": " + output.Error());
  return false;
}

// The printout of the list, as the window prints it, into a file that appears whole or not
// at all.
bool Run::WritePdf(const PrintHeader& header) {
  const std::string name = TargetName(request_.pdf);
  std::unique_ptr<OutputFile> file;
  std::unique_ptr<StreamOutput> stream;
  if (IsStandardStream(*request_.pdf)) {
    if (IsTerminal(out_)) {
      Say(err_, "cannot write standard output: " + std::string(kPdfIsNotText));
      return false;
    }
    stream = std::make_unique<StreamOutput>(out_, ListFormat::kText);
  } else {
    Result<std::unique_ptr<OutputFile>> opened = OutputFile::Open(*request_.pdf);
    if (!opened) {
      Say(err_, "cannot write " + name + ": " + opened.error());
      return false;
    }
    file = std::move(opened.value());
    if (file->IsTerminal()) {
      Say(err_, "cannot write " + name + ": " + kPdfIsNotText);
      return false;
    }
  }
  const auto write = [&](std::string_view bytes) {
    return file != nullptr ? file->Write(bytes) : stream->WriteText(bytes);
  };
  PdfDocument pdf(write, "Quillet object list", "quillet-cli");
  const bool printed = PrintToPdf(pdf, s_.list, header).ok();
  if (printed && (file != nullptr ? file->Commit() : stream->Finish())) return true;
  Say(err_, "cannot write " + name + ": " + (file != nullptr ? file->error() : stream->Error()));
  return false;
}

int Run::List() {
  const std::filesystem::path& file = request_.files.at(0);
  if (!Load(file, 1)) return kExitTrouble;

  const auto output = OpenOutput();
  if (output == nullptr) return kExitTrouble;
  // The rows go from the table to the output as the listing finds them, filtered as the list
  // would filter them; only the printout needs the list itself.
  FilteredOutput filtered(request_.query, *output);
  RecordFilter passes(s_.filter);
  const int count = s_.table.Count(1);
  for (int index = 1; index <= count; ++index) {
    const std::string_view record = s_.table.Record(1, index);
    if (passes.Passes(record) && !filtered.Add({1, record})) break;
  }
  if (!FinishOutput(*output)) return kExitTrouble;
  if (request_.pdf) {
    ShowFileObjects(s_.ws, 1);
    if (!WritePdf({HeaderName(file), "no file", PrintDateTime()})) return kExitTrouble;
  }
  return kExitOk;
}

int Run::Compare() {
  const std::filesystem::path &first = request_.files.at(0), &second = request_.files.at(1);
  if ((request_.base && !Load(*request_.base, kBaseFile)) || !Load(first, 1) || !Load(second, 2)) {
    return kExitTrouble;
  }

  const auto output = OpenOutput();
  if (output == nullptr) return kExitTrouble;
  FilteredOutput filtered(request_.query, *output);
  int status = kExitOk;
  switch (request_.mode) {
    case CompareMode::kEqual: {
      RowsToOutput rows(s_.table, filtered, true);
      ListEqualObjects(s_.table, request_.criteria, s_.filter, s_.status, rows, kNoPairLimit);
      break;
    }
    case CompareMode::kDifferent: {
      RowsToOutput rows(s_.table, filtered, false);
      ListDifferentObjects(s_.table, request_.criteria, s_.filter, s_.status, rows);
      status = rows.rows() > 0 ? kExitDifferent : kExitOk;
      break;
    }
    case CompareMode::kChanges: {
      KeyedRowsToOutput<ChangeStatus> rows(s_.table, *output, filtered, ListView::kChanges);
      const ChangesResult result = ListChanges(s_.table, request_.criteria, s_.filter,
                                               Listed<ChangeStatus>(), s_.status, rows);
      if (request_.summary) output->WriteSummary(SummaryOf(ListView::kChanges, result.counts));
      status = result.differs ? kExitDifferent : kExitOk;
      break;
    }
    case CompareMode::kUpgrade: {
      KeyedRowsToOutput<UpgradeResult> rows(s_.table, *output, filtered, ListView::kUpgrade);
      const UpgradeAnalysis result = AnalyzeUpgrade(s_.table, request_.criteria, s_.filter,
                                                    Listed<UpgradeResult>(), s_.status, rows);
      if (request_.summary) output->WriteSummary(SummaryOf(ListView::kUpgrade, result.counts));
      status = result.conflicts ? kExitDifferent : kExitOk;
      break;
    }
    case CompareMode::kNone:
      break;
  }
  filtered.Flush();
  if (!FinishOutput(*output)) return kExitTrouble;
  if (request_.pdf) {
    // The printout is of a list, as in the window, with the window's limit on equal pairs.
    KeyedChoice listed;
    listed.changes = Listed<ChangeStatus>();
    listed.upgrade = Listed<UpgradeResult>();
    RunComparison(s_.ws, request_.mode, request_.criteria, listed);
    for (const std::string& text : s_.messages.texts) Say(err_, "warning: " + Continued(text));
    const std::string base = request_.base ? HeaderName(*request_.base) : std::string();
    if (!WritePdf({HeaderName(first), HeaderName(second), PrintDateTime(), base})) {
      return kExitTrouble;
    }
  }
  return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
  const Result<CliRequest> parsed = ParseCliArguments(arguments);
  if (!parsed) {
    Say(err, parsed.error());
    std::fprintf(err, "%s\n", kCliUsageHint.data());
    return kExitTrouble;
  }
  const CliRequest& request = *parsed;
  switch (request.command) {
    case CliCommand::kHelp:
      return WriteAll(out, err, CliHelpText());
    case CliCommand::kVersion:
      return WriteAll(out, err, kVersionLine);
    case CliCommand::kList:
    case CliCommand::kCompare:
      break;
  }
  if (const Status checked = CheckOutputs(request); !checked) {
    Say(err, checked.error());
    return kExitTrouble;
  }
  if (request.across) return RunAcross(request, out, err);
  return request.command == CliCommand::kList ? Run(request, out, err).List()
                                              : Run(request, out, err).Compare();
}

}  // namespace quillet
