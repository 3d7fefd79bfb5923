#pragma once

#include <exception>
#include <filesystem>
#include <string>

namespace quill {

// Whether a path that names a book leads to a file that can be read, and if
// not, why, in words for the user.
struct BookFileCheck {
  enum class Result {
    kReadable,    // a regular file (a link counts as its target) that opens and reads
    kNotRegular,  // something else stands there: a folder, a pipe, a device
    kUnreadable,  // nothing there, or the system refused or failed to read it
  };

  Result result = Result::kReadable;
  std::string problem;  // the system's reason, or what stands there instead

  // Looks at the path without waiting on what stands there: a pipe is never
  // opened for reading.
  static BookFileCheck Of(const std::filesystem::path& path);

  // A file whose opening or reading failed with `failure` (as raised, never
  // null): kUnreadable with the system's reason.
  static BookFileCheck OfFailure(const std::filesystem::path& path, std::exception_ptr failure);
};

}  // namespace quill
