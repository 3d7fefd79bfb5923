#pragma once

#include <chrono>
#include <string_view>

namespace quill {

// One line on the standard error stream that shows how far a scan has got and
// rewrites itself in place. It shows only when standard error is a terminal
// that understands its control sequences;
// in a file or a pipe it writes nothing at all. It is redrawn at most a few
// times a second, so a fast scan does not wait for the terminal.
class ProgressLine {
 public:
  ProgressLine();
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Shows the counts and the file being worked on.
  void Show(long long examined, long long listed, std::string_view file);

  // Erases the line, so that other text can be written to standard error.
  void Clear();

 private:
  bool active_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace quill
