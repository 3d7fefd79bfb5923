#pragma once

#include "base/user_messages.h"

namespace quill {

// Installs a message sink for its lifetime and restores the previous one when
// it ends. The sink must outlive this object.
class ScopedUserMessages {
 public:
  explicit ScopedUserMessages(UserMessages& sink);
  ~ScopedUserMessages();
  ScopedUserMessages(const ScopedUserMessages&) = delete;
  ScopedUserMessages& operator=(const ScopedUserMessages&) = delete;

 private:
  UserMessages* previous_;
};

}  // namespace quill
