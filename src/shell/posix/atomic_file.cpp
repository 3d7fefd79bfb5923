#include "shell/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace quill {
namespace {

// A temporary file that is removed when the object ends, unless it was
// renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string pattern) : name_(std::move(pattern)) {
    handle_ = ::mkostemp(name_.data(), O_CLOEXEC);
  }
  ~TemporaryFile() {
    Close();
    if (handle_ != kRenamed && !name_.empty()) ::unlink(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() const { return handle_ >= 0; }
  int handle() const { return handle_; }

  bool WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(handle_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  // Flushes to the disk and closes; a failing close means a failed write.
  bool SyncAndClose() { return ::fsync(handle_) == 0 && Close(); }

  bool RenameTo(const std::filesystem::path& path) {
    if (::rename(name_.c_str(), path.c_str()) != 0) return false;
    handle_ = kRenamed;
    return true;
  }

 private:
  static constexpr int kRenamed = -2;

  bool Close() {
    if (handle_ < 0) return true;
    const int result = ::close(handle_);
    handle_ = -1;
    return result == 0;
  }

  std::string name_;
  int handle_ = -1;
};

// The rename is durable only once the folder's own entry list is on the disk.
void SyncFolder(const std::filesystem::path& folder) {
  const int handle =
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;
  ::fsync(handle);
  ::close(handle);
}

}  // namespace

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) noexcept {
  TemporaryFile temporary(path.string() + ".tmp-XXXXXX");
  if (!temporary.IsOpen()) return false;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 &&
      ::fchmod(temporary.handle(), existing.st_mode & 07777) != 0) {
    return false;
  }
  if (!temporary.WriteAll(bytes) || !temporary.SyncAndClose() || !temporary.RenameTo(path)) {
    return false;
  }
  SyncFolder(path.parent_path());
  return true;
}

}  // namespace quill
