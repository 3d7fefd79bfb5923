#pragma once

#include <string>
#include <vector>

namespace quill {

// Exit statuses of the program.
inline constexpr int kExitSuccess = 0;  // scan: no book listed
inline constexpr int kExitFailure = 1;  // scan: a book listed; other commands: they failed
inline constexpr int kExitUsage = 2;    // usage error; scan: something unreadable or unwritable
inline constexpr int kExitInterrupted = 130;  // scan: ended by Ctrl+C or a termination request

// The commands, each given the arguments after its name. Each answers its
// exit status; a command line that it cannot use raises UsageError.
int RunScan(const std::vector<std::string>& arguments);
int RunView(const std::vector<std::string>& arguments);
int RunInfo(const std::vector<std::string>& arguments);
int RunUnpack(const std::vector<std::string>& arguments);

// A path as the user would see it in full: made absolute against the current
// folder, "." and ".." segments and doubled separators removed.
std::string FullPath(const std::string& path);

}  // namespace quill
