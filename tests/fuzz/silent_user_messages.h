#pragma once

#include <string>

#include "base/scoped_user_messages.h"
#include "base/user_messages.h"

namespace quill::fuzzing {

// A message sink that shows nothing, installed for its lifetime: fuzzing
// raises every error box of the system thousands of times a second.
class SilentUserMessages final : public UserMessages {
 public:
  SilentUserMessages() : scope_(*this) {}

  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string&) override {}

 private:
  ScopedUserMessages scope_;
};

}  // namespace quill::fuzzing
