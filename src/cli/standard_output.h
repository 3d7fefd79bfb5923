#pragma once

#include <cstdio>
#include <string_view>

namespace quill {

class CliUserMessages;

// Writes UTF-8 text to the stream: to a Windows console at once as the UTF-16
// characters it shows, to anything else (a file, a pipe, a POSIX terminal) as
// the bytes themselves, buffered by the stream. False when the system refuses;
// errno tells why.
bool WriteText(std::FILE* stream, std::string_view text);

// Writes the text to standard output and flushes it. When the system refuses
// (a full disk), tells the user why on standard error and answers false.
bool WriteStandardOutput(std::string_view text, CliUserMessages& messages);

// Writes a help or version text to standard output. The exit status: success,
// or the usage error's after telling why, when it could not be written.
int WriteHelpText(std::string_view text);

}  // namespace quill
