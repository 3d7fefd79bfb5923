#include "base/target_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "base/posix/file_system_internals.h"

namespace quill {
namespace {

using Failure = TargetFolder::Failure;

// The name as the system takes it; the caller has made sure that it is one
// segment without NUL.
std::string NameOf(std::string_view name) { return std::string(name); }

// ELOOP is what O_NOFOLLOW answers when a link stands at the name (the only
// name that is resolved, beneath an open folder); with O_DIRECTORY some
// systems answer ENOTDIR instead. So for other errors what stands there is
// asked afresh: a link, or a folder where the open found none (it was
// swapped meanwhile), counts as a link in the way.
Failure FailureAt(int folder, const std::string& name, int error) {
  if (error == ELOOP) return {Failure::Kind::kLink, 0};
  struct stat info {};
  if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
      (S_ISLNK(info.st_mode) || (error == ENOTDIR && S_ISDIR(info.st_mode)))) {
    return {Failure::Kind::kLink, 0};
  }
  return {Failure::Kind::kSystem, SystemErrorCode(error)};
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

}  // namespace

std::optional<TargetFolder> TargetFolder::Open(const std::filesystem::path& folder) noexcept {
  const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return std::nullopt;
  try {
    return TargetFolder(handle, folder);
  } catch (...) {
    ::close(handle);
    return std::nullopt;
  }
}

TargetFolder::TargetFolder(TargetFolder&& other) noexcept
    : handle_(other.handle_), path_(std::move(other.path_)) {
  other.handle_ = -1;
}

TargetFolder& TargetFolder::operator=(TargetFolder&& other) noexcept {
  if (this != &other) {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    other.handle_ = -1;
  }
  return *this;
}

TargetFolder::~TargetFolder() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

std::variant<TargetFolder, Failure> TargetFolder::Subfolder(std::string_view name,
                                                            bool create) const noexcept {
  const int folder = static_cast<int>(handle_);
  try {
    const std::string system = NameOf(name);
    int handle = ::openat(folder, system.c_str(), kFolderFlags);
    if (handle < 0 && errno == ENOENT && create) {
      // Another process may create it meanwhile: an existing folder is fine,
      // and the open below never follows whatever stands there.
      if (::mkdirat(folder, system.c_str(), 0777) != 0 && errno != EEXIST) {
        return Failure{Failure::Kind::kSystem, SystemErrorCode(errno)};
      }
      handle = ::openat(folder, system.c_str(), kFolderFlags);
    }
    if (handle < 0) return FailureAt(folder, system, errno);
    return TargetFolder(handle, path_ / std::filesystem::path(system));
  } catch (...) {
    return Failure{Failure::Kind::kSystem, SystemErrorCode(ENOMEM)};
  }
}

std::variant<WritableFile, Failure> TargetFolder::NewFile(
    std::string_view name, const std::optional<FileIdentity>& keep) const noexcept {
  const int folder = static_cast<int>(handle_);
  try {
    const std::string system = NameOf(name);
    // O_EXCL with O_NOFOLLOW: whatever stands at the name, a file, a link or
    // a link planted after the removal below, the open fails rather than
    // writing through it.
    const auto create = [&] {
      return ::openat(folder, system.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0666);
    };
    int handle = create();
    if (handle < 0 && errno == EEXIST) {
      struct stat info {};
      if (::fstatat(folder, system.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(info.st_mode)) return Failure{Failure::Kind::kLink, 0};
        const FileIdentity there{static_cast<std::uint64_t>(info.st_dev),
                                 static_cast<std::uint64_t>(info.st_ino)};
        if (keep && there == *keep) return Failure{Failure::Kind::kProtected, 0};
      }
      if (::unlinkat(folder, system.c_str(), 0) == 0) handle = create();
    }
    if (handle < 0) return FailureAt(folder, system, errno);
    return WritableFile(handle);
  } catch (...) {
    return Failure{Failure::Kind::kSystem, SystemErrorCode(ENOMEM)};
  }
}

bool TargetFolder::RemoveFile(std::string_view name) const noexcept {
  try {
    return ::unlinkat(static_cast<int>(handle_), NameOf(name).c_str(), 0) == 0;
  } catch (...) {
    return false;
  }
}

std::optional<FileIdentity> TargetFolder::IdentityOf(std::string_view name) const noexcept {
  try {
    struct stat info {};
    if (::fstatat(static_cast<int>(handle_), NameOf(name).c_str(), &info, AT_SYMLINK_NOFOLLOW) !=
        0) {
      return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
  } catch (...) {
    return std::nullopt;
  }
}

bool TargetFolder::SetLastWriteTime(Timestamp localTime) const noexcept {
  return SetLocalFileTime(static_cast<int>(handle_), localTime);
}

}  // namespace quill
