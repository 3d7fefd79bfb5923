#include <cstdio>
#include <optional>

#include "app/book_file_check.h"
#include "app/book_unpacking.h"
#include "base/error.h"
#include "base/path_text.h"
#include "base/scoped_user_messages.h"
#include "cli/cli_user_messages.h"
#include "cli/command_arguments.h"
#include "cli/commands.h"
#include "cli/standard_output.h"

namespace quill {
namespace {

constexpr char kUnpackHelp[] =
    "usage: quillmere-cli unpack BOOK [--to FOLDER]\n"
    "\n"
    "Reads the book's package and, when it reads, unpacks every entry of the\n"
    "book into FOLDER, or else into a folder named after the book's file name\n"
    "without its last extension in the temporary folder\n"
    "(${TMPDIR:-/tmp}/quillmere-<uid>/). Files already there with the same\n"
    "names are replaced. Prints the folder.\n"
    "\n"
    "  --to FOLDER   unpack into FOLDER (created when missing; a link is followed)\n"
    "\n"
    "Every entry that is left out (damaged data, an unsupported method, a name\n"
    "that would lead out of the folder, a link in the way, a file or folder\n"
    "that cannot be created, the book itself in the way, data shared with\n"
    "another entry, more than 100 times the book's size and 100 MiB written in\n"
    "all) and every entry whose data does not match its CRC-32 (written all\n"
    "the same) or that replaced an earlier entry of the same name is told on\n"
    "standard error, one line each; the unpack goes on with the next entry.\n"
    "Files in the folder that the book does not hold, left by an earlier\n"
    "unpack, are counted on standard error and left in place.\n"
    "\n"
    "Exit status: 0 when every entry was unpacked as stored, 1 when the book\n"
    "was not unpacked or not whole, 2 on a usage error.\n";

using Status = BookUnpacking::Status;

// Tells what the unpack did not do; answers the exit status. The folder is
// printed whenever anything was written into it.
int Report(const BookUnpacking& result, const std::string& book, CliUserMessages& messages) {
  for (const UnpackReport::Problem& problem : result.report.problems) {
    messages.Report(book, problem.Text());
  }
  if (const std::string strays = result.report.StraysText(); !strays.empty()) {
    messages.Report(book, strays);
  }
  const std::string folder = Utf8Of(result.folder);
  if (result.report.written > 0 && !WriteStandardOutput(folder + "\n", messages)) {
    return kExitUsage;
  }
  switch (result.status) {
    case Status::kUnpacked:
      if (result.report.written == 0) break;
      return result.Complete() ? kExitSuccess : kExitFailure;
    case Status::kNoFile:
      messages.Report(book, "no such file");
      return kExitFailure;
    case Status::kPackageUnreadable:
      messages.Report(book, "the package cannot be read; nothing unpacked");
      return kExitFailure;
    case Status::kNoTemporaryFolder:
      messages.Write(folder.empty()
                         ? "no private temporary folder is available; choose one with --to"
                         : "no private temporary folder is available at " + folder +
                               " (it must be a folder of your own, not a link); choose one "
                               "with --to");
      return kExitFailure;
    case Status::kFailed:
      break;
  }
  messages.Report(book, result.report.written == 0 ? "Nothing unpacked into " + folder
                                                   : "unpacked only in part into " + folder);
  return kExitFailure;
}

}  // namespace

int RunUnpack(const std::vector<std::string>& arguments) {
  const CommandArguments args(arguments, {"--help"}, {"--to"});
  if (args.Has("--help")) return WriteHelpText(kUnpackHelp);
  if (args.Operands().size() != 1) throw UsageError("give exactly one BOOK");
  std::optional<std::filesystem::path> target;
  if (args.HasValue("--to")) {
    if (args.Value("--to", "").empty()) throw UsageError("option '--to' needs a folder");
    target = PathFromUtf8(FullPath(args.Value("--to", "")));
  }
  const std::string& book = args.Operands().front();

  CliUserMessages messages;
  const BookFileCheck check = BookFileCheck::Of(PathFromUtf8(book));
  if (check.result != BookFileCheck::Result::kReadable) {
    messages.Report(book, check.problem);
    return kExitFailure;
  }
  messages.SetSubject(book);
  const ScopedUserMessages scope(messages);
  try {
    return Report(BookUnpacking::Run(PathFromUtf8(FullPath(book)), target), book, messages);
  } catch (const Error& error) {
    messages.Report(book, error.message());  // the target folder cannot be created
    return kExitFailure;
  }
}

}  // namespace quill
