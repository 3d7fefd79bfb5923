#include "base/user_message_log.h"

namespace quill {

void UserMessageLog::ShowMessage(const std::string& text) {
  entries_.push_back({false, text});
  if (passOn_) passOn_->ShowMessage(text);
}

void UserMessageLog::ShowError(const std::string& text) {
  entries_.push_back({true, text});
  if (passOn_) passOn_->ShowError(text);
}

void UserMessageLog::ShowAgain(UserMessages& sink) const {
  for (const Entry& entry : entries_) {
    if (entry.error) {
      sink.ShowError(entry.text);
    } else {
      sink.ShowMessage(entry.text);
    }
  }
}

}  // namespace quill
