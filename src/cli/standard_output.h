#pragma once

#include <string_view>

namespace quill {

class CliUserMessages;

// Writes the text to standard output and flushes it. When the system refuses
// (a full disk), tells the user why on standard error and answers false.
bool WriteStandardOutput(std::string_view text, CliUserMessages& messages);

}  // namespace quill
