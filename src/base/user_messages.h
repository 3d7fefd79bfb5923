#pragma once

#include <string>

namespace quill {

// Where the core sends what the system shows the user in message boxes. The
// core never includes a widget: the desktop program installs a sink that opens
// message boxes, the command-line program one that writes to stderr, tests one
// that records. Install a sink with ScopedUserMessages.
class UserMessages {
 public:
  virtual ~UserMessages() = default;
  // A plain message box with information.
  virtual void ShowMessage(const std::string& text) = 0;
  // An error box with the error icon and an OK button.
  virtual void ShowError(const std::string& text) = 0;
};

// The sink in force on the calling thread: the innermost ScopedUserMessages
// installed on it, or one that writes to stderr when none is.
UserMessages& CurrentUserMessages();

// Shorthands for CurrentUserMessages().ShowMessage / ShowError.
void ShowMessage(const std::string& text);
void ShowErrorBox(const std::string& text);

}  // namespace quill
