#pragma once

#include <string>
#include <vector>

#include "base/user_messages.h"

namespace quill {

// Keeps what is shown, in order, so that it can be shown again elsewhere or
// later: on another thread, or a second time where a step is not repeated.
// Each text is also passed on at once to the sink given, if any.
class UserMessageLog final : public UserMessages {
 public:
  explicit UserMessageLog(UserMessages* passOn = nullptr) : passOn_(passOn) {}

  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;

  // Shows everything kept, in order, through the sink.
  void ShowAgain(UserMessages& sink) const;

 private:
  struct Entry {
    bool error = false;  // an error box rather than a plain message
    std::string text;
  };

  UserMessages* passOn_;
  std::vector<Entry> entries_;
};

}  // namespace quill
