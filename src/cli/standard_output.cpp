#include "cli/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/cli_user_messages.h"
#include "cli/commands.h"

namespace quill {

bool WriteStandardOutput(std::string_view text, CliUserMessages& messages) {
  const bool written =
      std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
  if (written) return true;
  messages.Report("standard output", std::strerror(errno));
  return false;
}

int WriteHelpText(std::string_view text) {
  CliUserMessages messages;
  return WriteStandardOutput(text, messages) ? kExitSuccess : kExitUsage;
}

}  // namespace quill
