#pragma once

namespace quill {

// Whether the standard error stream goes to a terminal that understands the
// control sequences by which a progress line rewrites itself: not a file or a
// pipe, and not a terminal whose TERM is "dumb" or that names no TERM at all.
bool StandardErrorTakesEscapes() noexcept;

// Whether the standard output stream goes to a terminal, where the bytes of a
// name could act as control characters.
bool StandardOutputIsTerminal() noexcept;

// The width of the terminal behind the standard error stream in columns, or 0
// when it is not known.
int StandardErrorColumns() noexcept;

}  // namespace quill
