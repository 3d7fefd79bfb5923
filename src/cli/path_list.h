#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace quill {

// The paths of a list file, one a line or each ended by NUL (as `find
// -print0` writes them), "-" being standard input. The paths are read as
// they are asked for, so that a scan begins while the list is still being
// written; an empty entry (a blank line) names nothing and is passed over.
class PathList {
 public:
  // Opens the list; error() tells when that failed.
  PathList(const std::string& name, char separator);
  ~PathList();
  PathList(const PathList&) = delete;
  PathList& operator=(const PathList&) = delete;

  // The next path; nothing at the list's end or when a read fails.
  std::optional<std::string> Next();

  // The system's error number when the list could not be opened or read; 0 otherwise.
  int error() const { return error_; }

 private:
  // Reads more of the list into the buffer; false at its end or on an error.
  bool Fill();

  std::FILE* file_ = nullptr;
  bool ownsFile_ = false;
  char separator_;
  std::string buffer_;
  std::size_t start_ = 0;  // the first byte of buffer_ not handed out yet
  bool ended_ = false;
  int error_ = 0;
};

}  // namespace quill
