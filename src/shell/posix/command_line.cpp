#include "shell/command_line.h"

namespace quill {

// File names and arguments are bytes here; they are passed on as given.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
  if (argc < 1) return {};
  return {argv + 1, argv + argc};
}

}  // namespace quill
