#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

#include "app/book_file_check.h"
#include "app/book_read_ahead.h"
#include "app/epub_collection.h"
#include "app/ordered_examinations.h"
#include "base/path_text.h"
#include "base/scoped_user_messages.h"
#include "base/time_resolution.h"
#include "cli/cli_user_messages.h"
#include "cli/command_arguments.h"
#include "cli/commands.h"
#include "cli/path_list.h"
#include "cli/progress_line.h"
#include "cli/scan_output.h"
#include "cli/standard_output.h"
#include "shell/search_files.h"
#include "shell/terminal.h"
#include "shell/termination_signals.h"

namespace quill {
namespace {

constexpr char kScanHelp[] =
    "usage: quillmere-cli scan [--subfolders] [--resolution day|hour|min|sec|full]\n"
    "                          [--format text|tsv|json] [--explain] [--jobs N] [--null]\n"
    "                          [--files-from FILE] PATH...\n"
    "\n"
    "Lists the EPUB books whose spine documents do not all carry the time of the\n"
    "book's last content document, at the chosen resolution (default: day).\n"
    "A file PATH is examined if it is a ZIP archive; a folder PATH is searched for\n"
    "*.epub files directly in it, or in it and every folder below it with\n"
    "--subfolders. A book whose package cannot be read is never listed.\n"
    "\n"
    "  --subfolders    search the folders below each folder PATH too\n"
    "  --resolution    how far apart two times may be and count as the same\n"
    "  --format text   the full path of each listed book, one a line (default)\n"
    "  --format tsv    file name, TAB, full path\n"
    "  --format json   an array of {\"name\", \"path\"}, with \"path_bytes\" (the\n"
    "                  path's bytes in hex) when the path is not UTF-8\n"
    "  --explain       add why each book is listed (a third TAB field in text and\n"
    "                  tsv, a \"reason\" object in json), and tell on standard\n"
    "                  error why a file was not examined or not listed\n"
    "  --jobs N        examine N books at a time (default: one per processor);\n"
    "                  the output is the same for every N\n"
    "  --null          end each book of the text format with NUL, not a newline;\n"
    "                  with --files-from, the paths are ended by NUL too\n"
    "  --files-from FILE\n"
    "                  scan the paths listed in FILE (- for standard input), one\n"
    "                  a line or NUL-separated with --null as find -print0 writes\n"
    "                  them, after the PATHs given; the answers are those of the\n"
    "                  same paths given as PATHs\n"
    "\n"
    "What cannot be read (a missing PATH, a file or folder that the system\n"
    "refuses) is told on standard error, and the rest is scanned.\n"
    "\n"
    "Exit status: 0 when no book is listed, 1 when a book is listed, 2 on a usage\n"
    "error or when anything could not be read or written, 130 when Ctrl+C ends\n"
    "the scan.\n";

struct ScanSettings {
  bool subfolders;
  int timeResolution;
  ScanOutput::Options output;
  int jobs;
  bool readAhead;  // reading threads fetch the next books' data; not with --jobs 1
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
// or on several threads with the same output in the same order, counts them
// for the progress line, and tells what it could not read. A termination
// request (Ctrl+C) ends the scan after the books under way. Messages shown on
// the scanning thread itself come after every result before them, as they
// would on one thread.
class Scan final : public UserMessages {
 public:
  Scan(const ScanSettings& settings, ScanOutput& output, ProgressLine& progress,
       CliUserMessages& messages, const TerminationSignals& signals)
      : progress_(progress),
        messages_(messages),
        scope_(*this),
        signals_(signals),
        subfolders_(settings.subfolders),
        explain_(settings.output.explain),
        timeResolution_(settings.timeResolution),
        collection_([resolution = settings.timeResolution] { return resolution; },
                    [this, &output](const BookRow& row, const CheckOutcome& reason) {
                      ++listed_;
                      output.Book(row, reason);
                    }) {
    if (settings.jobs > 1 || settings.readAhead) {
      pipeline_.emplace(
          OrderedExaminations::Threads{
              settings.jobs, settings.readAhead ? OrderedExaminations::kReadingThreads : 0},
          [](const std::string& path) { return ReadBookAhead(PathFromUtf8(path)); },
          [resolution = settings.timeResolution](const std::string& path,
                                                 std::shared_ptr<BookArchive> readAhead) {
            return EpubCollection::ExamineCandidate(
                path, [resolution] { return resolution; }, std::move(readAhead));
          },
          [this](const OrderedExaminations::Result& result) { Deliver(result); });
    }
  }

  // One PATH of the command line: a folder is searched, anything else is a
  // candidate file.
  void Path(const std::string& operand) {
    if (Stopped()) return;
    const std::string path = FullPath(operand);
    std::error_code error;
    const auto status = std::filesystem::status(PathFromUtf8(path), error);
    if (status.type() == std::filesystem::file_type::not_found) {
      Unreadable(operand, "no such file or folder");
    } else if (std::filesystem::is_directory(status)) {
      Folder(path);
    } else {
      Examine(path);
    }
  }

  // Each path of a list, in turn, as if given on the command line; a list
  // that cannot be opened or read to its end is told.
  void ListedPaths(const std::string& name, char separator) {
    PathList list(name, separator);
    while (!Stopped()) {
      const std::optional<std::string> path = list.Next();
      if (!path) break;
      Path(*path);
    }
    if (list.error() != 0 && !Stopped()) {
      Unreadable(name == "-" ? "standard input" : name, std::strerror(list.error()));
    }
  }

  // Delivers what is still under way; true when the scan ran to its end.
  bool Finish() {
    if (!Stopped() && pipeline_) pipeline_->Flush();
    progress_.Clear();
    return !Stopped();
  }

  long long listed() const { return listed_; }
  // Whether anything could not be read.
  bool incomplete() const { return incomplete_; }

  // What the core shows on the scanning thread, after the results before it.
  void ShowMessage(const std::string& text) override {
    FlushPipeline();
    messages_.ShowMessage(text);
  }
  void ShowError(const std::string& text) override {
    FlushPipeline();
    messages_.ShowError(text);
  }

 private:
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
    // Every folder that fails is told here, and the search goes on past it.
    search.OnFolderError = [this](TJvSearchFiles&, const std::string& folder,
                                  const std::error_code& error) {
      Unreadable(folder, error ? error.message() : "the folder could not be read");
    };
    search.Search();
  }

  // Whether a termination request has arrived; the books not begun are dropped then.
  bool Stopped() {
    if (!stopped_ && signals_.Pending()) {
      stopped_ = true;
      if (pipeline_) pipeline_->Cancel();
    }
    return stopped_;
  }

  void FlushPipeline() {
    if (pipeline_ && !stopped_) pipeline_->Flush();
  }

  void Examine(const std::string& path) {
    if (Stopped()) return;
    if (pipeline_) {
      pipeline_->Submit(path);
      return;
    }
    progress_.Show(examined_, listed_, path);
    messages_.SetSubject(path);  // what the package reader shows is about this book
    const EpubCollection::Examination examination =
        EpubCollection::ExamineCandidate(path, [this] { return timeResolution_; });
    collection_.Deliver(path, examination);
    messages_.SetSubject({});
    Examined(path, examination);
  }

  // A result of the threads, in its turn: its messages, then its row.
  void Deliver(const OrderedExaminations::Result& result) {
    progress_.Show(examined_, listed_, result.path);
    messages_.SetSubject(result.path);
    result.messages.ShowAgain(messages_);
    collection_.Deliver(result.path, result.examination);
    messages_.SetSubject({});
    Examined(result.path, result.examination);
  }

  void Examined(const std::string& path, const EpubCollection::Examination& examination) {
    ++examined_;
    switch (examination.candidate) {
      case EpubCollection::Candidate::kSkipped:
        Skipped(path, examination.failure);
        break;
      case EpubCollection::Candidate::kPackageUnreadable:
        if (explain_) messages_.Report(path, "not listed: the package cannot be read");
        break;
      case EpubCollection::Candidate::kNotListed:
      case EpubCollection::Candidate::kListed:
        break;
    }
  }

  // Why a file was not examined: the system's refusal is always told, a file
  // that is simply no book only when asked. A file that could not be opened
  // or read is told with the reason it met then (too many open files, say),
  // never looked at again and taken for no archive.
  void Skipped(const std::string& path, const std::exception_ptr& failure) {
    const BookFileCheck check = failure ? BookFileCheck::OfFailure(PathFromUtf8(path), failure)
                                        : BookFileCheck::Of(PathFromUtf8(path));
    switch (check.result) {
      case BookFileCheck::Result::kUnreadable:
        messages_.Report(path, check.problem);
        incomplete_ = true;
        break;
      case BookFileCheck::Result::kNotRegular:
        if (explain_) messages_.Report(path, "skipped: " + check.problem);
        break;
      case BookFileCheck::Result::kReadable:
        if (explain_) messages_.Report(path, "skipped: not a ZIP archive");
        break;
    }
  }

  // What the scanning thread could not read, after the results before it.
  void Unreadable(const std::string& path, const std::string& problem) {
    FlushPipeline();
    messages_.Report(path, problem);
    incomplete_ = true;
  }

  ProgressLine& progress_;
  CliUserMessages& messages_;
  ScopedUserMessages scope_;
  const TerminationSignals& signals_;
  bool subfolders_;
  bool explain_;
  int timeResolution_;
  EpubCollection collection_;
  std::optional<OrderedExaminations> pipeline_;
  bool stopped_ = false;
  long long examined_ = 0;
  long long listed_ = 0;
  bool incomplete_ = false;
};

}  // namespace

int RunScan(const std::vector<std::string>& arguments) {
  const CommandArguments args(arguments, {"--subfolders", "--explain", "--null", "--help"},
                              {"--resolution", "--format", "--jobs", "--files-from"});
  if (args.Has("--help")) {
    return WriteHelpText(kScanHelp);
  }
  const int jobs = JobsGiven(args);
  const ScanSettings settings{
      args.Has("--subfolders"),
      TimeResolutionNamed(
          args.Choice("--resolution", "day", {"day", "hour", "min", "sec", "full"})),
      {FormatNamed(args.Choice("--format", "text", {"text", "tsv", "json"})), args.Has("--explain"),
       args.Has("--null"), StandardOutputIsTerminal()},
      jobs,
      // --jobs 1 keeps the whole scan on one thread.
      !args.HasValue("--jobs") || jobs > 1};
  if (args.Operands().empty() && !args.HasValue("--files-from")) {
    throw UsageError("no PATH given");
  }

  ProgressLine progress;
  CliUserMessages messages(&progress);
  ScanOutput output(stdout, settings.output, &progress);
  const TerminationSignals signals;
  bool incomplete = false;
  long long listed = 0;
  {
    Scan scan(settings, output, progress, messages, signals);
    for (const std::string& operand : args.Operands()) scan.Path(operand);
    if (args.HasValue("--files-from")) {
      scan.ListedPaths(args.Value("--files-from", ""),
                       settings.output.nullTerminated ? '\0' : '\n');
    }
    if (!scan.Finish()) {
      // Interrupted: the lines written so far stay whole, a json array is
      // closed, the progress line is gone.
      output.Finish();
      return kExitInterrupted;
    }
    listed = scan.listed();
    incomplete = scan.incomplete();
  }
  progress.Clear();
  if (!output.Finish()) {
    messages.Report("standard output", std::strerror(output.error()));
    return kExitUsage;
  }
  if (incomplete) return kExitUsage;
  return listed > 0 ? kExitFailure : kExitSuccess;
}

}  // namespace quill
