#include "base/user_messages.h"

#include <cstdio>

#include "base/scoped_user_messages.h"

namespace quill {
namespace {

class StderrUserMessages final : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  void ShowError(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

StderrUserMessages& DefaultSink() {
  static StderrUserMessages sink;
  return sink;
}

// Each thread has its own sink in force, so books examined on several
// threads at once report to their own recorders.
thread_local UserMessages* current = nullptr;

}  // namespace

UserMessages& CurrentUserMessages() { return current ? *current : DefaultSink(); }

void ShowMessage(const std::string& text) { CurrentUserMessages().ShowMessage(text); }

void ShowErrorBox(const std::string& text) { CurrentUserMessages().ShowError(text); }

ScopedUserMessages::ScopedUserMessages(UserMessages& sink) : previous_(current) { current = &sink; }

ScopedUserMessages::~ScopedUserMessages() { current = previous_; }

}  // namespace quill
