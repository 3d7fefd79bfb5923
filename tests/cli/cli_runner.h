#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace quill::testing {

// What a run of a program gave.
struct ProgramRun {
  int status = -1;  // the exit status; -1 when it did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error (a file, never a terminal)
};

// Runs the program with the arguments, its output and error streams caught in
// files, and waits for it. The environment is the test's own.
ProgramRun RunProgram(const std::filesystem::path& program,
                      const std::vector<std::string>& arguments);

// Runs the built quillmere-cli.
ProgramRun RunCli(const std::vector<std::string>& arguments);

// The lines of a program's output, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace quill::testing
