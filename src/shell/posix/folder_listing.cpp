#include "shell/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace quill {

struct FolderListing::Handle {
  DIR* dir = nullptr;
};

namespace {

ListingStart StartFailureOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return ListingStart::kAccessDenied;
    case ENOENT:
    case ENOTDIR:
      return ListingStart::kPathNotFound;
    default:
      return ListingStart::kFailed;
  }
}

// Whether the entry leads to a folder. The file system's own type answers at
// no cost; only when it does not know the type, or the entry is a link whose
// target decides, is the entry looked up (following links, so a link to a
// folder counts as a folder and a dangling link as a file).
bool LeadsToFolder(DIR* dir, const dirent& entry) {
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return entry.d_type == DT_DIR;
  struct stat info {};
  return ::fstatat(::dirfd(dir), entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

FolderListing::FolderListing(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) {
    error_.assign(errno, std::generic_category());
    start_ = StartFailureOf(errno);
    return;
  }
  handle_ = std::make_unique<Handle>(Handle{dir});
  struct stat info {};
  if (::fstat(::dirfd(dir), &info) != 0) {
    error_.assign(errno, std::generic_category());
    start_ = ListingStart::kFailed;
    Close();
    return;
  }
  identity_ = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
  start_ = ListingStart::kOpened;
}

FolderListing::~FolderListing() { Close(); }

bool FolderListing::Next(FolderEntry& entry) {
  if (!handle_) return false;
  errno = 0;  // readdir tells the end from an error only through errno
  const dirent* found = ::readdir(handle_->dir);
  if (found == nullptr) {
    readFailed_ = errno != 0;
    if (readFailed_) error_.assign(errno, std::generic_category());
    return false;
  }
  entry.name.assign(found->d_name);
  entry.isFolder = LeadsToFolder(handle_->dir, *found);
  entry.hidden = found->d_name[0] == '.';  // the POSIX convention for hidden entries
  entry.system = false;                    // POSIX has no such attribute
  return true;
}

bool FolderListing::Close() {
  if (!handle_) return !readFailed_;
  const bool closed = ::closedir(handle_->dir) == 0;
  if (!closed && !error_) error_.assign(errno, std::generic_category());
  handle_.reset();
  return closed && !readFailed_;
}

}  // namespace quill
