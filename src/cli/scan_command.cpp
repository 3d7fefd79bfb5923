#include <cstdio>
#include <filesystem>

#include "app/epub_collection.h"
#include "app/time_resolution.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "base/scoped_user_messages.h"
#include "cli/cli_user_messages.h"
#include "cli/command_arguments.h"
#include "cli/commands.h"
#include "cli/progress_line.h"
#include "cli/scan_output.h"
#include "shell/search_files.h"

namespace quill {
namespace {

constexpr char kScanHelp[] =
    "usage: quillmere-cli scan [--subfolders] [--resolution day|hour|min|sec|full]\n"
    "                          [--format text|tsv|json] [--explain] PATH...\n"
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
    "\n"
    "Exit status: 0 when no book is listed, 1 when a book is listed, 2 on a usage\n"
    "error or a PATH that does not exist.\n";

struct ScanSettings {
  bool subfolders;
  int timeResolution;
  ScanOutput::Format format;
  bool explain;
  std::vector<std::string> paths;  // full paths, each checked to exist
};

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

// Examines the candidates one by one, the way the window's add commands do,
// and counts them for the progress line.
class Scan {
 public:
  Scan(const ScanSettings& settings, ScanOutput& output)
      : messages_(&progress_),
        scope_(messages_),
        subfolders_(settings.subfolders),
        collection_([resolution = settings.timeResolution] { return resolution; },
                    [this, &output](const BookRow& row, const CheckOutcome& reason) {
                      ++listed_;
                      output.Book(row, reason);
                    }) {}

  void File(const std::string& path) { Examine(path); }

  void Folder(const std::string& path) {
    TJvSearchFiles search;
    EpubCollection::ConfigureFolderSearch(search, subfolders_, path);
    search.OnFindFile = [this](TJvSearchFiles&, const std::string& name) { Examine(name); };
    if (!search.Search()) {
      messages_.Write(path + ": the folder could not be searched to its end");
    }
  }

  long long listed() const { return listed_; }

 private:
  void Examine(const std::string& path) {
    progress_.Show(examined_, listed_, path);
    collection_.AddCandidate(path);
    ++examined_;
  }

  ProgressLine progress_;
  CliUserMessages messages_;
  ScopedUserMessages scope_;
  bool subfolders_;
  EpubCollection collection_;
  long long examined_ = 0;
  long long listed_ = 0;
};

}  // namespace

int RunScan(const std::vector<std::string>& arguments) {
  const CommandArguments args(arguments, {"--subfolders", "--explain", "--help"},
                              {"--resolution", "--format"});
  if (args.Has("--help")) {
    std::fputs(kScanHelp, stdout);
    return kExitSuccess;
  }
  ScanSettings settings{
      args.Has("--subfolders"),
      TimeResolutionNamed(args.Choice("--resolution", "day", {"day", "hour", "min", "sec", "full"})),
      FormatNamed(args.Choice("--format", "text", {"text", "tsv", "json"})), args.Has("--explain"),
      {}};
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
  long long listed = 0;
  {
    Scan scan(settings, output);
    for (const std::string& path : settings.paths) {
      if (DirectoryExists(PathFromUtf8(path))) {
        scan.Folder(path);
      } else {
        scan.File(path);
      }
    }
    listed = scan.listed();
  }
  output.Finish();
  return listed > 0 ? kExitFailure : kExitSuccess;
}

}  // namespace quill
