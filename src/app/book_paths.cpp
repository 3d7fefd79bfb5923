#include "app/book_paths.h"

#include <filesystem>
#include <system_error>

#include "base/path_text.h"
#include "base/text.h"

namespace quill {

BookPaths SortBookPaths(const std::vector<std::string>& paths) {
  BookPaths sorted;
  for (const std::string& path : paths) {
    std::error_code error;
    if (std::filesystem::is_directory(PathFromUtf8(path), error)) {
      sorted.folders.push_back(path);
    } else if (SameTextAscii(ExtensionOf(FileNameOf(path)), ".epub")) {
      sorted.files.push_back(path);
    } else {
      sorted.ignored.push_back(path);
    }
  }
  return sorted;
}

}  // namespace quill
