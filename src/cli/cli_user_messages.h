#pragma once

#include <string>
#include <string_view>

#include "base/user_messages.h"

namespace quill {

class ProgressLine;

// Shows on the standard error stream what the window would show in message
// boxes, each message as one line "quillmere-cli: SUBJECT: message", where the
// subject is the book or folder that the program is working on, and the
// line breaks of a box's text (line feeds, carriage returns, blank lines)
// become ": ". Control characters in subject and message are written out
// (VisibleText), so one message is always one line. A progress line, when
// given, is erased first.
class CliUserMessages final : public UserMessages {
 public:
  explicit CliUserMessages(ProgressLine* progress = nullptr) : progress_(progress) {}

  // The book or folder that what the core shows from now on is about.
  void SetSubject(std::string subject) { subject_ = std::move(subject); }

  void ShowMessage(const std::string& text) override { Report(subject_, text); }
  void ShowError(const std::string& text) override { Report(subject_, text); }

  // A message about a book or folder (no subject: as Write).
  void Report(std::string_view subject, std::string_view text);

  // The program's own message, about no path: each line of it prefixed with
  // "quillmere-cli: ".
  void Write(std::string_view text);

  // The text as it appears on standard error.
  static std::string Format(std::string_view subject, std::string_view text);

 private:
  void Emit(const std::string& formatted);

  ProgressLine* progress_;
  std::string subject_;
};

}  // namespace quill
