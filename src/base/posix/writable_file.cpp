#include "base/writable_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/posix/file_system_internals.h"

namespace quill {

bool WritableFile::Write(std::string_view bytes) noexcept {
  while (!bytes.empty()) {
    const ssize_t n = ::write(handle_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool WritableFile::SetLastWriteTime(Timestamp localTime) noexcept {
  return SetLocalFileTime(handle_, localTime);
}

bool WritableFile::SetReadOnly() noexcept {
  struct stat info {};
  if (::fstat(handle_, &info) != 0) return false;
  return ::fchmod(handle_, info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::optional<FileIdentity> WritableFile::Identity() const noexcept {
  struct stat info {};
  if (::fstat(handle_, &info) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino)};
}

bool WritableFile::Close() noexcept {
  if (handle_ < 0) return true;
  const int result = ::close(handle_);
  handle_ = -1;
  return result == 0;
}

}  // namespace quill
