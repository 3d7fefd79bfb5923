#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/scoped_user_messages.h"
#include "base/user_messages.h"

namespace quill {

// What one command of the main window has to tell (an add command, a drop,
// the paths of the command line), gathered while it runs and shown after it
// in one box instead of a box for every book: each message with the book or
// folder it is about, the first few and how many more. While it exists it is
// the message sink in force; when it ends, the box goes to the sink that was
// in force before: an error box when any message was an error, else a plain
// one. Nothing gathered, no box.
class CommandMessages final : public UserMessages {
 public:
  // How many messages the box lists before it counts the rest.
  static constexpr std::size_t kListed = 20;

  CommandMessages();
  ~CommandMessages() override;
  CommandMessages(const CommandMessages&) = delete;
  CommandMessages& operator=(const CommandMessages&) = delete;

  // Names what the core shows from now on after the book or folder, full
  // path; an empty subject names nothing (the text names its path itself).
  void SetSubject(std::string subject) { subject_ = std::move(subject); }

  // A problem with a path that the command itself finds, as an error.
  void Report(const std::string& path, const std::string& problem);

  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;

  // The text of the box for what has been gathered; empty when nothing has.
  std::string Text() const;

 private:
  struct Entry {
    std::string subject;
    std::string text;
  };

  void Add(std::string subject, const std::string& text, bool error);

  UserMessages& previous_;
  std::optional<ScopedUserMessages> scope_;
  std::string subject_;
  std::vector<Entry> entries_;
  bool anyError_ = false;
};

}  // namespace quill
