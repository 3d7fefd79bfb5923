#include "shell/application_files.h"

#include <sys/stat.h>

#include "base/text.h"

namespace quill {

bool IsApplicationFile(const std::filesystem::path& path) {
  const std::string extension = LowerAscii(ExtensionOf(path.filename().string()));
  if (extension == ".exe" || extension == ".lnk" || extension == ".desktop") return true;
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
}

std::string ApplicationFileMask() { return "*.exe;*.lnk;*.desktop"; }

}  // namespace quill
