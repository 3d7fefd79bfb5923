#include "base/writable_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace quill {

namespace {

// O_EXCL with O_NOFOLLOW: whatever stands at the path, a file, a link or a
// link planted after a removal, the open fails rather than writing through it.
int CreateExclusive(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

}  // namespace

std::optional<WritableFile> WritableFile::Create(const std::filesystem::path& path) noexcept {
  int handle = CreateExclusive(path);
  if (handle < 0 && errno == EEXIST && ::unlink(path.c_str()) == 0) handle = CreateExclusive(path);
  if (handle < 0) return std::nullopt;
  return WritableFile(handle);
}

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

bool WritableFile::Close() noexcept {
  if (handle_ < 0) return true;
  const int result = ::close(handle_);
  handle_ = -1;
  return result == 0;
}

}  // namespace quill
