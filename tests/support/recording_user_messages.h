#pragma once

#include <string>
#include <vector>

#include "base/scoped_user_messages.h"
#include "base/user_messages.h"

namespace quill::testing {

// Records what the code under test shows the user, and installs itself as the
// message sink for its lifetime.
class RecordingUserMessages final : public UserMessages {
 public:
  RecordingUserMessages() : scope_(*this) {}

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }

  std::vector<std::string> messages;  // plain message boxes, in order
  std::vector<std::string> errors;    // error boxes, in order

 private:
  ScopedUserMessages scope_;
};

}  // namespace quill::testing
