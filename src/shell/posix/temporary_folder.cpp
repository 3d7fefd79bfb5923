#include "shell/temporary_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace quill {
namespace {

// Closes a descriptor when it goes.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string SharedTemporaryDirectory() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string base = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base;
}

// Whether the folder, opened without following a link, is the user's own;
// access for others is taken away, since only the user should ever write there.
bool IsPrivateFolder(const std::string& folder) {
  const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) return false;  // a link, something other than a folder, or no access
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
    return false;
  }
  return (info.st_mode & 077) == 0 || ::fchmod(fd.get(), 0700) == 0;
}

}  // namespace

std::string TemporaryFolderPlace() {
  const std::string base = SharedTemporaryDirectory();
  return (base == "/" ? "" : base) + "/quillmere-" + std::to_string(::getuid());
}

std::string TemporaryFolderPath() {
  const std::string folder = TemporaryFolderPlace();
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  if (!IsPrivateFolder(folder)) return {};
  return folder + '/';
}

}  // namespace quill
