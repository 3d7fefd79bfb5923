#pragma once

#include "base/user_messages.h"

namespace quill {

class Dialogs;

// The core's message boxes shown through the program's dialogs, over the
// window that is active when the message comes.
class QtUserMessages final : public UserMessages {
 public:
  explicit QtUserMessages(Dialogs& dialogs) : dialogs_(dialogs) {}

  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;

 private:
  Dialogs& dialogs_;
};

}  // namespace quill
