#pragma once

namespace quill {

// Whether the standard error stream goes to a terminal (and not to a file or
// a pipe), where a progress line that rewrites itself is welcome.
bool StandardErrorIsTerminal() noexcept;

// The width of the terminal behind the standard error stream in columns, or 0
// when it is not known.
int StandardErrorColumns() noexcept;

}  // namespace quill
