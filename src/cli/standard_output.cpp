#include "cli/standard_output.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "cli/cli_user_messages.h"
#include "cli/commands.h"
#include "shell/terminal.h"

namespace quill {

bool WriteText(std::FILE* stream, std::string_view text) {
  if (const std::optional<bool> written = WriteToWideConsole(stream, text)) return *written;
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

bool WriteStandardOutput(std::string_view text, CliUserMessages& messages) {
  if (WriteText(stdout, text) && std::fflush(stdout) == 0) return true;
  messages.Report("standard output", std::strerror(errno));
  return false;
}

int WriteHelpText(std::string_view text) {
  CliUserMessages messages;
  return WriteStandardOutput(text, messages) ? kExitSuccess : kExitUsage;
}

}  // namespace quill
