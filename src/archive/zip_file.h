#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/zip_header.h"
#include "base/read_only_file.h"

namespace quill {

// The state of a directory reader.
enum class TZipMode : std::uint8_t {
  zmClosed = 0,  // no archive open
  zmRead = 1,    // an archive is open for reading
};

// Reads the central directory of a ZIP archive: the entries' header copies in
// directory order (duplicate names included) and the archive comment. It
// never reads entry data or local headers and never writes to the file.
//
// Use: IsValid on the path; Open; FileCount; any number of FileNames,
// FileInfo and Comment; Close (or destroy). The file stays open, unshared,
// from Open to Close; its content is read only during Open.
class TZipFile {
 public:
  TZipFile() = default;
  ~TZipFile() { Close(); }
  TZipFile(const TZipFile&) = delete;
  TZipFile& operator=(const TZipFile&) = delete;

  // Whether the file carries an end-of-central-directory record in its last
  // 65535 bytes. Nothing else is checked. Never raises: a missing, unreadable
  // or busy file is simply not valid.
  static bool IsValid(const std::filesystem::path& path) noexcept;

  // Closes what was open, then opens the file for reading and reads its whole
  // central directory. Raises EFOpenError when the file cannot be opened,
  // EZipException "Stream read error" for an empty file, "Error reading zip
  // file" without an end record or when the directory ends short, and
  // "Invalid Zip Central Header signature" when a header does not begin with
  // its signature. After a failure the reader is closed.
  void Open(const std::filesystem::path& path);

  // Releases the file and the directory. Does nothing on a closed reader.
  void Close() noexcept;

  TZipMode Mode() const { return mode_; }

  // The number of entries. Raises EZipException "File must be open" when closed.
  int FileCount() const;

  // The entry names in directory order, each decoded by its own flag: UTF-8
  // when flag bit 11 is set (ill-formed bytes become U+FFFD), else code page
  // 437. Separators stay as stored. Raises "File must be open" when closed.
  std::vector<std::string> FileNames() const;

  // A copy of the header at the 0-based index. Raises "File must be open" when
  // closed, EArgumentOutOfRangeException "Argument out of range" for an index
  // outside 0 to FileCount() - 1.
  TZipHeader FileInfo(int index) const;

  // The headers themselves, for callers that walk every entry and need no
  // copies; valid until Close. Raises "File must be open" when closed.
  std::span<const TZipHeader> Headers() const;

  // The archive comment decoded as code page 437; empty when there is none
  // or no archive is open.
  std::string Comment() const;

 private:
  void RequireOpen() const;

  TZipMode mode_ = TZipMode::zmClosed;
  std::optional<ReadOnlyFile> file_;
  std::vector<TZipHeader> headers_;
  std::string comment_;  // raw bytes
};

}  // namespace quill
