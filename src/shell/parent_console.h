#pragma once

namespace quill {

// Where a desktop program's own lines (its help, its version, the paths it
// could not take) are read. On Windows the desktop program has no console of
// its own, so typed at a prompt its standard streams lead nowhere and it would
// answer "--help" with silence: while an object exists, the standard output
// and error streams that lead nowhere write to the console of the program
// that started it, if it has one. Streams sent to a file or a pipe stay as
// they are. A POSIX program inherits its terminal, and nothing changes there.
class ParentConsole {
 public:
  ParentConsole() noexcept;
  // Lets the console go again, so that Ctrl+C typed there later does not end
  // the program, whose window outlives the prompt.
  ~ParentConsole();
  ParentConsole(const ParentConsole&) = delete;
  ParentConsole& operator=(const ParentConsole&) = delete;

 private:
  [[maybe_unused]] bool attached_ = false;
};

}  // namespace quill
