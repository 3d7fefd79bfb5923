#include "shell/parent_console.h"

namespace quill {

// The standard streams are the terminal's, or where they were sent.
ParentConsole::ParentConsole() noexcept = default;

ParentConsole::~ParentConsole() = default;

}  // namespace quill
