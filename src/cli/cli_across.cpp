#include "cli/cli_across.h"

#include <memory>
#include <string>

#include "cli/cli.h"
#include "cli/cli_messages.h"
#include "list/across_files.h"
#include "output/across_output.h"
#include "output/list_file_writer.h"
#include "output/output_targets.h"
#include "platform/output_file.h"

namespace quillet {
namespace {

using cli::Continued;
using cli::Name;
using cli::NoticeLine;
using cli::Say;

// Reads each file in turn; false, after telling why, at the first that cannot be used.
bool ReadFiles(const CliRequest& request, AcrossFiles& files, std::FILE* err) {
  NullStatusSink status;
  for (const std::filesystem::path& file : request.files) {
    // Pipes and devices are read as streams, and "-" is standard input, as in any Unix tool.
    const Result<LoadResult> loaded = files.Add(file, status, InputKinds::kStreamsAndStandardInput);
    if (!loaded) {
      Say(err, "cannot read " + Name(file) + ": " + loaded.error());
      return false;
    }
    if (loaded->capacity_reached || loaded->cut_short) {
      const Notice notice = loaded->capacity_reached
                                ? Notice::TooManyObjects(files.table().Capacity())
                                : Notice::CutShort();
      Say(err, "warning: " + Name(file) + ": " + Continued(NoticeLine(notice)));
    }
    // Compared all the same: no objects is what it holds. But a file of another kind given by
    // mistake should not pass for an empty one.
    if (loaded->no_directory) Say(err, Name(file) + " holds no objects; is it an object file?");
  }
  return true;
}

std::unique_ptr<RowOutput> OpenOutput(const CliRequest& request, std::FILE* out, std::FILE* err) {
  if (!request.output || IsStandardStream(*request.output)) {
    if (Status fits = CheckTerminal(request.format, IsTerminal(out)); !fits) {
      Say(err, "cannot write standard output: " + fits.error());
      return nullptr;
    }
    return std::make_unique<StreamOutput>(out, request.format);
  }
  Result<std::unique_ptr<FileOutput>> opened = FileOutput::Open(*request.output, request.format);
  if (!opened) {
    Say(err, "cannot write " + Name(*request.output) + ": " + opened.error());
    return nullptr;
  }
  return std::move(opened.value());
}

}  // namespace

int RunAcross(const CliRequest& request, std::FILE* out, std::FILE* err) {
  AcrossFiles files;
  if (!ReadFiles(request, files, err)) return kExitTrouble;
  const std::unique_ptr<RowOutput> output = OpenOutput(request, out, err);
  if (output == nullptr) return kExitTrouble;

  AcrossContext context;
  for (const std::filesystem::path& file : request.files) {
    context.files.push_back(AcrossFileName(Name(file)));
  }
  context.criteria = CriteriaText(request.criteria, true);
  context.raw_csv = request.raw;
  AcrossWriter writer(*output, request.format, context);

  AcrossChoice choice;
  choice.filter = request.filter;
  // The summary counts every row whatever is listed; none is written beside it.
  choice.listed = request.summary ? AcrossStatuses() : AcrossStatuses::FromBits(request.show);
  choice.query = &request.query;
  const AcrossComparison comparison = files.Compare(request.criteria);
  NullStatusSink status;
  const AcrossResult result = comparison.List(choice, status, writer);

  const bool written =
      request.summary ? writer.FinishSummary(result.summary) : writer.Finish(result);
  if (!written) {
    Say(err, "cannot write " + cli::TargetName(request.output) + ": " + writer.Error());
    return kExitTrouble;
  }
  return result.differs ? kExitDifferent : kExitOk;
}

}  // namespace quillet
