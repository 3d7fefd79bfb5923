#include "too_long_path.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace quill::testing {
namespace {

const std::string kLevelName(200, 'd');

int OpenFolder(int parent, const char* name) {
  const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) throw std::runtime_error("cannot open a folder of the chain");
  return folder;
}

}  // namespace

TooLongFolderChain::TooLongFolderChain(const std::filesystem::path& top) : top_(top) {
  std::filesystem::create_directory(top);
  folders_.push_back(OpenFolder(AT_FDCWD, top.c_str()));
  std::filesystem::path path = top;
  // A folder is opened by its path with a separator after it.
  while (firstTooLong_.empty()) {
    if (::mkdirat(folders_.back(), kLevelName.c_str(), 0755) != 0) {
      throw std::runtime_error("cannot make a folder of the chain");
    }
    folders_.push_back(OpenFolder(folders_.back(), kLevelName.c_str()));
    path /= kLevelName;
    if (path.native().size() + 1 >= PATH_MAX) firstTooLong_ = path;
  }
  // One more level below the first one that is too long.
  ::mkdirat(folders_.back(), kLevelName.c_str(), 0755);
}

TooLongFolderChain::~TooLongFolderChain() {
  ::unlinkat(folders_.back(), kLevelName.c_str(), AT_REMOVEDIR);
  for (std::size_t i = folders_.size() - 1; i > 0; --i) {
    ::close(folders_[i]);
    ::unlinkat(folders_[i - 1], kLevelName.c_str(), AT_REMOVEDIR);
  }
  ::close(folders_.front());
  ::rmdir(top_.c_str());
}

}  // namespace quill::testing
