#include "app/command_messages.h"

namespace quill {
namespace {

// The text on one line of the list: its line breaks, and the blank lines
// between paragraphs, become ": ".
std::string OneLine(const std::string& text) {
  std::string line;
  bool lineBreak = false;
  for (const char c : text) {
    if (c == '\n' || c == '\r') {
      lineBreak = true;
      continue;
    }
    if (lineBreak && !line.empty()) line += ": ";
    lineBreak = false;
    line += c;
  }
  return line;
}

}  // namespace

CommandMessages::CommandMessages() : previous_(CurrentUserMessages()) { scope_.emplace(*this); }

CommandMessages::~CommandMessages() {
  // What comes while the box is open is no longer this command's.
  scope_.reset();
  const std::string text = Text();
  if (text.empty()) return;
  // A box that cannot be shown must not end the program on the way out of a
  // command.
  try {
    if (anyError_) {
      previous_.ShowError(text);
    } else {
      previous_.ShowMessage(text);
    }
  } catch (...) {
  }
}

void CommandMessages::Report(const std::string& path, const std::string& problem) {
  Add(path, problem, true);
}

void CommandMessages::ShowMessage(const std::string& text) { Add(subject_, text, false); }

void CommandMessages::ShowError(const std::string& text) { Add(subject_, text, true); }

void CommandMessages::Add(std::string subject, const std::string& text, bool error) {
  anyError_ = anyError_ || error;
  Entry entry{std::move(subject), OneLine(text)};
  // A book's package is read twice when it is checked, and says the same
  // twice: once is enough.
  if (!entries_.empty() && entries_.back().subject == entry.subject &&
      entries_.back().text == entry.text)
    return;
  entries_.push_back(std::move(entry));
}

std::string CommandMessages::Text() const {
  const std::size_t count = entries_.size();
  if (count == 0) return {};
  std::string text = count == 1 ? "One problem while adding books:\n"
                                : std::to_string(count) + " problems while adding books:\n";
  for (std::size_t i = 0; i < count && i < kListed; ++i) {
    const Entry& entry = entries_[i];
    text += entry.subject.empty() ? entry.text : entry.subject + ": " + entry.text;
    text += '\n';
  }
  if (count > kListed) text += "... and " + std::to_string(count - kListed) + " more\n";
  return text;
}

}  // namespace quill
