#pragma once

#include <string>
#include <string_view>

#include "base/user_messages.h"

namespace quill {

class ProgressLine;

// Shows on the standard error stream what the window would show in message
// boxes: each line of a message prefixed with "quillmere-cli: ", the line
// breaks of a box's text (line feeds, carriage returns, blank lines) reduced
// to single line ends. A progress line, when given, is erased first.
class CliUserMessages final : public UserMessages {
 public:
  explicit CliUserMessages(ProgressLine* progress = nullptr) : progress_(progress) {}

  void ShowMessage(const std::string& text) override { Write(text); }
  void ShowError(const std::string& text) override { Write(text); }

  // The same, for the program's own messages.
  void Write(std::string_view text);

  // The text as it appears on standard error.
  static std::string Format(std::string_view text);

 private:
  ProgressLine* progress_;
};

}  // namespace quill
