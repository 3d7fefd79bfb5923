#include "base/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "base/error_kinds.h"

namespace quill {
namespace {

[[noreturn]] void RaiseOpenError(const std::filesystem::path& path, int error) {
  throw EFOpenError("Cannot open file \"" + path.string() + "\". " + std::strerror(error));
}

}  // namespace

ReadOnlyFile ReadOnlyFile::Open(const std::filesystem::path& path, Sharing) {
  // O_NONBLOCK keeps a pipe with an .epub name from blocking the open; the
  // type check below then refuses it.
  const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (handle < 0) RaiseOpenError(path, errno);
  struct stat info {};
  if (::fstat(handle, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    ::close(handle);
    RaiseOpenError(path, error);
  }
  return ReadOnlyFile(handle, static_cast<std::uint64_t>(info.st_size));
}

void ReadOnlyFile::Release() noexcept {
  if (handle_ >= 0) ::close(handle_);
  handle_ = -1;
}

std::optional<FileIdentity> ReadOnlyFile::Identity() const noexcept {
  struct stat info {};
  if (::fstat(handle_, &info) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino)};
}

std::size_t ReadOnlyFile::ReadFromSystem(std::uint64_t offset, std::span<std::byte> buffer) const {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n = ::pread(handle_, buffer.data() + done, buffer.size() - done,
                              static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError("Stream read error");
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

}  // namespace quill
