// quillmere-cli: the engine of the desktop program without its window, for
// scripts and large libraries. It lists exactly the books that the window's
// add commands would list.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/path_text.h"
#include "cli/cli_user_messages.h"
#include "cli/command_arguments.h"
#include "cli/commands.h"
#include "cli/standard_output.h"
#include "shell/command_line.h"

#ifndef QUILLMERE_VERSION
#define QUILLMERE_VERSION "unknown"
#endif

namespace quill {
namespace {

constexpr char kUsage[] =
    "usage: quillmere-cli scan [--subfolders] [--resolution day|hour|min|sec|full]\n"
    "                          [--format text|tsv|json] [--explain] [--jobs N] [--null]\n"
    "                          PATH...\n"
    "       quillmere-cli view [--format text|json] BOOK\n"
    "       quillmere-cli info [--format text|json] BOOK\n"
    "       quillmere-cli unpack BOOK [--to FOLDER]\n"
    "       quillmere-cli --version\n"
    "\n"
    "Finds EPUB books whose content documents were edited after the book was\n"
    "produced, by the times that the archive stores for them.\n"
    "\n"
    "  scan     list the edited books among files and folders\n"
    "  view     show a book's content documents with their stored attributes\n"
    "  info     show what the package reader reads from a book\n"
    "  unpack   unpack a book into a folder and print the folder\n"
    "\n"
    "'quillmere-cli COMMAND --help' describes a command.\n";

using Command = int (*)(const std::vector<std::string>&);

Command CommandNamed(std::string_view name) {
  if (name == "scan") return RunScan;
  if (name == "view") return RunView;
  if (name == "info") return RunInfo;
  if (name == "unpack") return RunUnpack;
  return nullptr;
}

int Main(const std::vector<std::string>& arguments) {
  CliUserMessages messages;
  if (arguments.empty()) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  const std::string& name = arguments.front();
  if (name == "--help" || name == "-h") return WriteHelpText(kUsage);
  if (name == "--version") return WriteHelpText("quillmere-cli " QUILLMERE_VERSION "\n");
  const Command command = CommandNamed(name);
  if (command == nullptr) {
    messages.Write("unknown command '" + name + "'\nTry 'quillmere-cli --help'.");
    return kExitUsage;
  }
  try {
    return command({arguments.begin() + 1, arguments.end()});
  } catch (const UsageError& error) {
    messages.Write(std::string(error.what()) + "\nTry 'quillmere-cli " + name + " --help'.");
    return kExitUsage;
  }
}

}  // namespace

std::string FullPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path given = PathFromUtf8(path);
  const std::filesystem::path absolute = std::filesystem::absolute(given, error);
  return Utf8Of((error ? given : absolute).lexically_normal());
}

}  // namespace quill

int main(int argc, char** argv) {
  try {
    return quill::Main(quill::ProgramArguments(argc, argv));
  } catch (const std::exception& error) {
    // An error that no command expects still ends the run with its message.
    quill::CliUserMessages().Write(error.what());
    return quill::kExitFailure;
  }
}
