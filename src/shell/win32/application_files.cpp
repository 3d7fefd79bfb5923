#include "shell/application_files.h"

#include "base/path_text.h"
#include "base/text.h"

namespace quill {

bool IsApplicationFile(const std::filesystem::path& path) {
  const std::string extension = LowerAscii(ExtensionOf(Utf8Of(path.filename())));
  return extension == ".exe" || extension == ".lnk";
}

std::string ApplicationFileMask() { return "*.exe;*.lnk"; }

}  // namespace quill
