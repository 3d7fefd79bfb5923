#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "zip_writer.h"

namespace quill::testing {

// A small program that records how it was started: the number of its
// arguments, then each argument, one a line, in a marker file beside it
// (written under another name first, so a reader never sees half of it).
class RecordingProgram {
 public:
  // The program `name` in `folder`, which must exist.
  explicit RecordingProgram(const std::filesystem::path& folder,
                            const std::string& name = "record args")
      : program_(folder / name), marker_(folder / (name + ".marker")) {
    const std::string marker = "'" + marker_.string() + "'";
    const std::string record = "{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; }";
    const std::string script = "#!/bin/sh\n" + record + " > " + marker + ".part\n";
    WriteFile(program_, script + "mv " + marker + ".part " + marker + "\n");
    std::filesystem::permissions(program_, std::filesystem::perms::owner_all);
  }

  const std::filesystem::path& path() const { return program_; }

  bool HasRun() const { return std::filesystem::exists(marker_); }

  // The recorded lines, once the program has run; empty after five seconds.
  std::string WaitForRecord() const {
    for (int i = 0; i < 500 && !HasRun(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return HasRun() ? ReadFile(marker_) : std::string();
  }

 private:
  std::filesystem::path program_;
  std::filesystem::path marker_;
};

}  // namespace quill::testing
