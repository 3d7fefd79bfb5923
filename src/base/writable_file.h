#pragma once

#include <optional>
#include <string_view>

#include "base/file_identity.h"
#include "base/timestamp.h"

namespace quill {

// A file created for writing (by TargetFolder::NewFile), closed when the
// object ends. Move-only.
class WritableFile {
 public:
  WritableFile(WritableFile&& other) noexcept;
  WritableFile& operator=(WritableFile&& other) noexcept;
  WritableFile(const WritableFile&) = delete;
  WritableFile& operator=(const WritableFile&) = delete;
  ~WritableFile();

  // Appends the bytes; false when the system refuses (a full disk, say).
  bool Write(std::string_view bytes) noexcept;

  // Sets the file's last-write time from a time taken as local time; false
  // when that cannot be done. Later writes would change it again.
  bool SetLastWriteTime(Timestamp localTime) noexcept;

  // Takes every write permission away (the file stays open for writing);
  // false when that fails.
  bool SetReadOnly() noexcept;

  // The identity of the open file; nothing when the system does not tell it.
  std::optional<FileIdentity> Identity() const noexcept;

  // Closes the file now; false when closing reports a failed write.
  bool Close() noexcept;

 private:
  friend class TargetFolder;
  explicit WritableFile(int handle) : handle_(handle) {}

  int handle_ = -1;
};

}  // namespace quill
