#include <cstdio>
#include <optional>

#include "app/book_unpacking.h"
#include "base/error.h"
#include "base/path_text.h"
#include "base/scoped_user_messages.h"
#include "cli/cli_user_messages.h"
#include "cli/command_arguments.h"
#include "cli/commands.h"

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
    "Exit status: 0 when the book was unpacked, 1 when it was not, 2 on a usage\n"
    "error.\n";

using Status = BookUnpacking::Status;

}  // namespace

int RunUnpack(const std::vector<std::string>& arguments) {
  const CommandArguments args(arguments, {"--help"}, {"--to"});
  if (args.Has("--help")) {
    std::fputs(kUnpackHelp, stdout);
    return kExitSuccess;
  }
  if (args.Operands().size() != 1) throw UsageError("give exactly one BOOK");
  std::optional<std::filesystem::path> target;
  if (args.HasValue("--to")) {
    if (args.Value("--to", "").empty()) throw UsageError("option '--to' needs a folder");
    target = PathFromUtf8(FullPath(args.Value("--to", "")));
  }
  const std::string book = FullPath(args.Operands().front());

  CliUserMessages messages;
  const ScopedUserMessages scope(messages);
  try {
    const BookUnpacking result = BookUnpacking::Run(PathFromUtf8(book), target);
    switch (result.status) {
      case Status::kUnpacked:
        std::printf("%s\n", Utf8Of(result.folder).c_str());
        return kExitSuccess;
      case Status::kNoFile:
        messages.Write(args.Operands().front() + ": no such file");
        break;
      case Status::kPackageUnreadable:
        messages.Write(args.Operands().front() + ": the package cannot be read; nothing unpacked");
        break;
      case Status::kNoTemporaryFolder:
        messages.Write("no private temporary folder is available; choose one with --to");
        break;
      case Status::kFailed:
        messages.Write(args.Operands().front() + ": unpacked only in part into " +
                       Utf8Of(result.folder));
        break;
    }
  } catch (const Error& error) {
    messages.Write(error.message());  // the target folder cannot be created
  }
  return kExitFailure;
}

}  // namespace quill
