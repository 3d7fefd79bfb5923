#pragma once

#include <string>
#include <vector>

namespace quill {

// What the desktop program's command line asks for: `quillmere [PATH...]`,
// `quillmere --help` or `quillmere --version`. "--" ends the options, so a
// path may begin with "-".
struct LaunchArguments {
  enum class Action { kRun, kHelp, kVersion, kUsageError };

  Action action = Action::kRun;
  std::vector<std::string> paths;  // kRun: the paths to add, in the order given
  std::string unknownOption;       // kUsageError: the first option not understood
};

// Reads the arguments after the program's name. --help (or -h) wins over
// --version, and both over an unknown option, so that asking for help always
// gets it.
LaunchArguments ParseLaunchArguments(const std::vector<std::string>& arguments);

// The text that --help prints.
extern const char kLaunchUsage[];

}  // namespace quill
