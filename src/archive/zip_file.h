#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archive/zip_entry_view.h"
#include "archive/zip_header.h"

namespace quill {

class BookArchive;
struct TAbZipItem;

// The state of a directory reader.
enum class TZipMode : std::uint8_t {
  zmClosed = 0,  // no archive open
  zmRead = 1,    // an archive is open for reading
};

// Reads the central directory of a ZIP archive: the entries' header copies in
// directory order (duplicate names included) and the archive comment. It
// never reads entry data or local headers and never writes to the file. The
// directory is decoded by the archive's one decoder (ZIP64 records included);
// this reader keeps its own rule for finding the end record and its own
// messages.
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
  // 65557 bytes (the record and the longest comment). Nothing else is checked. Never raises: a
  // missing, unreadable or busy file is simply not valid.
  static bool IsValid(const std::filesystem::path& path) noexcept;

  // Closes what was open, then opens the file for reading and reads its whole
  // central directory. Raises EFOpenError when the file cannot be opened,
  // EZipException "Stream read error" for an empty file, "Error reading zip
  // file" without an end record or when the directory ends short, and
  // "Invalid Zip Central Header signature" when a header does not begin with
  // its signature. After a failure the reader is closed.
  void Open(const std::filesystem::path& path);

  // The same, reading the directory of a book archive that is already open
  // (and that this reader then shares), with the same errors.
  void Open(std::shared_ptr<BookArchive> archive);

  // Releases the file and the directory. Does nothing on a closed reader.
  void Close() noexcept;

  TZipMode Mode() const { return mode_; }

  // The number of entries. Raises EZipException "File must be open" when closed.
  int FileCount() const;

  // The entry names in directory order, each decoded by its own flag: UTF-8
  // when flag bit 11 is set (ill-formed bytes become U+FFFD), else code page
  // 437. Separators stay as stored. Raises "File must be open" when closed.
  std::vector<std::string> FileNames() const;

  // A copy of the header at the 0-based index; a 64-bit size or offset of a
  // ZIP64 entry that does not fit its field reads as the marker 0xFFFFFFFF.
  // Raises "File must be open" when closed, EArgumentOutOfRangeException
  // "Argument out of range" for an index outside 0 to FileCount() - 1.
  TZipHeader FileInfo(int index) const;

  // The entry at the 0-based index without copying, with its one decoded
  // name, for callers that walk every entry. Raises as FileInfo does.
  ZipEntryView Entry(int index) const;

  // The archive comment decoded as code page 437; empty when there is none
  // or no archive is open.
  std::string Comment() const;

 private:
  const TAbZipItem& Item(int index) const;

  TZipMode mode_ = TZipMode::zmClosed;
  std::shared_ptr<BookArchive> archive_;
  const std::vector<TAbZipItem>* items_ = nullptr;  // the archive's directory
};

}  // namespace quill
