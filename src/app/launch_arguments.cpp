#include "app/launch_arguments.h"

namespace quill {

const char kLaunchUsage[] =
    "usage: quillmere [PATH...]\n"
    "       quillmere --help | --version\n"
    "\n"
    "Finds EPUB books whose content documents were edited after the book was\n"
    "produced, by the times that the archive stores for them.\n"
    "\n"
    "Once the window is shown, the EPUB files among the PATHs are added as\n"
    "\"Add file\" adds chosen files, then each folder is searched with its\n"
    "subfolders as \"Add folder with subfolders\" does, into the same list.\n"
    "\n"
    "  -h, --help   print this text and exit\n"
    "  --version    print the version and exit\n";

LaunchArguments ParseLaunchArguments(const std::vector<std::string>& arguments) {
  LaunchArguments parsed;
  bool help = false;
  bool version = false;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      parsed.paths.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help" || argument == "-h") {
      help = true;
    } else if (argument == "--version") {
      version = true;
    } else if (parsed.unknownOption.empty()) {
      parsed.unknownOption = argument;
    }
  }
  if (help) {
    parsed.action = LaunchArguments::Action::kHelp;
  } else if (version) {
    parsed.action = LaunchArguments::Action::kVersion;
  } else if (!parsed.unknownOption.empty()) {
    parsed.action = LaunchArguments::Action::kUsageError;
  }
  return parsed;
}

}  // namespace quill
