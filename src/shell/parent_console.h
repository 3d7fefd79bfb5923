#pragma once

#include <cstdio>
#include <string_view>

namespace quill {

// Where a desktop program's own lines (its help, its version, the paths it
// could not take) are read. On Windows the desktop program has no console of
// its own, so typed at a prompt its standard streams lead nowhere and it would
// answer "--help" with silence: while an object exists, what is written through
// it to a standard stream that leads nowhere appears in the console of the
// program that started it, if it has one. Streams sent to a file or a pipe
// stay as they are. A POSIX program inherits its terminal, and writes there.
class ParentConsole {
 public:
  ParentConsole() noexcept;
  // Lets the console go again, so that Ctrl+C typed there later does not end
  // the program, whose window outlives the prompt.
  ~ParentConsole();
  ParentConsole(const ParentConsole&) = delete;
  ParentConsole& operator=(const ParentConsole&) = delete;

  // Writes the UTF-8 text to `stream`, stdout or stderr, or to the console in
  // its place.
  void Write(std::FILE* stream, std::string_view text) const;

 private:
  // The console's screen, and which streams it stands in for.
  [[maybe_unused]] void* screen_ = nullptr;
  [[maybe_unused]] bool forOutput_ = false;
  [[maybe_unused]] bool forError_ = false;
};

}  // namespace quill
