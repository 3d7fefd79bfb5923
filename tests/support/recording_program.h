#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "zip_writer.h"

namespace quill::testing {

// Puts a small program at `program` that records how it was started: the
// number of its arguments, then each argument, one a line in UTF-8, in the
// file `marker` (written under another name first, so a reader never sees
// half of it). Each platform has its own kind of program.
void InstallRecordingProgram(const std::filesystem::path& program,
                             const std::filesystem::path& marker);

// The recording program `name` in `folder`, which must exist, and what it
// recorded, in "<name>.marker" beside it.
class RecordingProgram {
 public:
  explicit RecordingProgram(const std::filesystem::path& folder,
                            const std::filesystem::path& name = "record args")
      : program_(folder / name), marker_(program_) {
    marker_ += ".marker";
    InstallRecordingProgram(program_, marker_);
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
