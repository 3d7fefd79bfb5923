#pragma once

#include <string_view>

namespace quill {

class CliUserMessages;

// Writes the text to standard output and flushes it. When the system refuses
// (a full disk), tells the user why on standard error and answers false.
bool WriteStandardOutput(std::string_view text, CliUserMessages& messages);

// Writes a help or version text to standard output. The exit status: success,
// or the usage error's after telling why, when it could not be written.
int WriteHelpText(std::string_view text);

}  // namespace quill
