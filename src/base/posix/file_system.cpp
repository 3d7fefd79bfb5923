#include "base/file_system.h"

#include <sys/stat.h>

namespace quill {

bool FileExists(const std::filesystem::path& path) noexcept {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::filesystem::path& path) noexcept {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace quill
