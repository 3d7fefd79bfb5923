#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

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

// When the stream goes to a Windows console, which shows text given as UTF-16
// characters and garbles bytes outside its code page, writes what the stream
// buffers and then the UTF-8 text there as UTF-16, and answers whether the
// console took all of it (errno tells why not). Otherwise (a file, a pipe, a
// POSIX terminal, which all take the bytes themselves) writes nothing and
// answers nothing.
std::optional<bool> WriteToWideConsole(std::FILE* stream, std::string_view text);

}  // namespace quill
