#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "app/epub_collection.h"
#include "app/time_resolution.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "base/scoped_user_messages.h"
#include "cli/cli_user_messages.h"
#include "cli/command_arguments.h"
#include "cli/commands.h"
#include "cli/ordered_examinations.h"
#include "cli/progress_line.h"
#include "cli/scan_output.h"
#include "shell/search_files.h"
#include "shell/termination_signals.h"

namespace quill {
namespace {

constexpr char kScanHelp[] =
    "usage: quillmere-cli scan [--subfolders] [--resolution day|hour|min|sec|full]\n"
    "                          [--format text|tsv|json] [--explain] [--jobs N] PATH...\n"
    "\n"
    "Lists the EPUB books whose spine documents do not all carry the time of the\n"
    "book's last content document, at the chosen resolution (default: day).\n"
    "A file PATH is examined if it is a ZIP archive; a folder PATH is searched for\n"
    "*.epub files directly in it, or in it and every folder below it with\n"
    "--subfolders. A book whose package cannot be read is never listed.\n"
    "\n"
    "  --format text   the full path of each listed book, one a line (default)\n"
    "  --format tsv    file name, TAB, full path\n"
    "  --format json   an array of {\"name\", \"path\"}\n"
    "  --explain       add why each book is listed (a third TAB field in text and\n"
    "                  tsv, a \"reason\" object in json)\n"
    "  --jobs N        examine N books at a time (default: one per processor);\n"
    "                  the output is the same for every N\n"
    "\n"
    "Exit status: 0 when no book is listed, 1 when a book is listed, 2 on a usage\n"
    "error or a PATH that does not exist, 130 when Ctrl+C ends the scan.\n";

struct ScanSettings {
  bool subfolders;
  int timeResolution;
  ScanOutput::Format format;
  bool explain;
  int jobs;
  std::vector<std::string> paths;  // full paths, each checked to exist
};

constexpr int kMostJobs = 256;

// The --jobs value: a whole number of threads, by default one per processor.
int JobsGiven(const CommandArguments& args) {
  if (!args.HasValue("--jobs")) {
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMostJobs);
  }
  const std::string value = args.Value("--jobs", "");
  int jobs = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), jobs);
  if (error != std::errc() || end != value.data() + value.size() || jobs < 1 || jobs > kMostJobs) {
    throw UsageError("invalid value '" + value + "' for '--jobs' (a number from 1 to " +
                     std::to_string(kMostJobs) + ")");
  }
  return jobs;
}

int TimeResolutionNamed(const std::string& name) {
  if (name == "hour") return kResolutionHour;
  if (name == "min") return kResolutionMin;
  if (name == "sec") return kResolutionSec;
  if (name == "full") return kResolutionFull;
  return kResolutionDay;
}

ScanOutput::Format FormatNamed(const std::string& name) {
  if (name == "tsv") return ScanOutput::Format::kTsv;
  if (name == "json") return ScanOutput::Format::kJson;
  return ScanOutput::Format::kText;
}

// Examines the candidates the way the window's add commands do, one by one
// or on several threads with the same output in the same order, and counts
// them for the progress line. A termination request (Ctrl+C) ends the scan
// after the books under way. Messages shown on the scanning thread itself come
// after every result before them, as they would on one thread.
class Scan final : public UserMessages {
 public:
  Scan(const ScanSettings& settings, ScanOutput& output, const TerminationSignals& signals)
      : messages_(&progress_),
        scope_(*this),
        signals_(signals),
        subfolders_(settings.subfolders),
        collection_(
            [resolution = settings.timeResolution] { return resolution; },
            [this, &output](const BookRow& row, const CheckOutcome& reason) {
              ++listed_;
              output.Book(row, reason);
            }) {
    if (settings.jobs > 1) {
      pipeline_.emplace(
          settings.jobs,
          [resolution = settings.timeResolution](const std::string& path) {
            return EpubCollection::ExamineCandidate(path, [resolution] { return resolution; });
          },
          [this](const OrderedExaminations::Result& result) { Deliver(result); });
    }
  }

  void File(const std::string& path) { Examine(path); }

  void Folder(const std::string& path) {
    TJvSearchFiles search;
    EpubCollection::ConfigureFolderSearch(search, subfolders_, path);
    search.OnFindFile = [this](TJvSearchFiles& running, const std::string& name) {
      if (Stopped()) {
        running.Abort();
        return;
      }
      Examine(name);
    };
    if (!search.Search() && !Stopped()) Write(path + ": the folder could not be searched to its end");
  }

  // Delivers what is still under way; true when the scan ran to its end.
  bool Finish() {
    if (!Stopped() && pipeline_) pipeline_->Flush();
    progress_.Clear();
    return !Stopped();
  }

  long long listed() const { return listed_; }

  void ShowMessage(const std::string& text) override { Write(text); }
  void ShowError(const std::string& text) override { Write(text); }

 private:
  // The scan's own messages, after the results of the books before them.
  void Write(std::string_view text) {
    if (pipeline_) pipeline_->Flush();
    messages_.Write(text);
  }

  // Whether a termination request has arrived; the books not begun are dropped then.
  bool Stopped() {
    if (!stopped_ && signals_.Pending()) {
      stopped_ = true;
      if (pipeline_) pipeline_->Cancel();
    }
    return stopped_;
  }

  void Examine(const std::string& path) {
    if (Stopped()) return;
    if (pipeline_) {
      pipeline_->Submit(path);
      return;
    }
    progress_.Show(examined_, listed_, path);
    collection_.AddCandidate(path);
    ++examined_;
  }

  void Deliver(const OrderedExaminations::Result& result) {
    progress_.Show(examined_, listed_, result.path);
    result.messages.ShowAgain(messages_);
    collection_.Deliver(result.path, result.examination);
    ++examined_;
  }

  ProgressLine progress_;
  CliUserMessages messages_;
  ScopedUserMessages scope_;
  const TerminationSignals& signals_;
  bool subfolders_;
  EpubCollection collection_;
  std::optional<OrderedExaminations> pipeline_;
  bool stopped_ = false;
  long long examined_ = 0;
  long long listed_ = 0;
};

}  // namespace

int RunScan(const std::vector<std::string>& arguments) {
  const CommandArguments args(arguments, {"--subfolders", "--explain", "--help"},
                              {"--resolution", "--format", "--jobs"});
  if (args.Has("--help")) {
    std::fputs(kScanHelp, stdout);
    return kExitSuccess;
  }
  ScanSettings settings{
      args.Has("--subfolders"),
      TimeResolutionNamed(args.Choice("--resolution", "day", {"day", "hour", "min", "sec", "full"})),
      FormatNamed(args.Choice("--format", "text", {"text", "tsv", "json"})), args.Has("--explain"),
      JobsGiven(args), {}};
  if (args.Operands().empty()) throw UsageError("no PATH given");

  // Every PATH is checked before the first book is examined, so a mistyped
  // one costs no half-done scan.
  CliUserMessages messages;
  bool missing = false;
  for (const std::string& operand : args.Operands()) {
    std::error_code error;
    if (!std::filesystem::exists(PathFromUtf8(operand), error)) {
      messages.Write(operand + ": no such file or folder");
      missing = true;
    }
    settings.paths.push_back(FullPath(operand));
  }
  if (missing) return kExitUsage;

  ScanOutput output(stdout, settings.format, settings.explain);
  const TerminationSignals signals;
  long long listed = 0;
  {
    Scan scan(settings, output, signals);
    for (const std::string& path : settings.paths) {
      if (DirectoryExists(PathFromUtf8(path))) {
        scan.Folder(path);
      } else {
        scan.File(path);
      }
    }
    if (!scan.Finish()) {
      // Interrupted: the lines written so far stay whole, the progress line is gone.
      std::fflush(stdout);
      return kExitInterrupted;
    }
    listed = scan.listed();
  }
  output.Finish();
  return listed > 0 ? kExitFailure : kExitSuccess;
}

}  // namespace quill
