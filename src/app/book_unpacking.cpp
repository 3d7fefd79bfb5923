#include "app/book_unpacking.h"

#include "archive/epub_unzipper.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "epub/Epub.h"
#include "shell/temporary_folder.h"
#include "shell/unpack_folder_name.h"

namespace quill {

BookUnpacking BookUnpacking::Run(const std::filesystem::path& book,
                                 const std::optional<std::filesystem::path>& target) {
  BookUnpacking result;
  if (!FileExists(book)) return result;
  TEpuB reader;
  reader.Open(book);
  if (!reader.Ok || reader.EpubPath.empty()) {
    result.status = Status::kPackageUnreadable;
    return result;
  }
  if (target) {
    result.folder = *target;
  } else {
    // An empty temporary folder would make the target a bare relative name,
    // somewhere the user never chose; such an unpack is refused.
    const std::string temporary = TemporaryFolderPath();
    if (temporary.empty()) {
      result.status = Status::kNoTemporaryFolder;
      return result;
    }
    result.folder = PathFromUtf8(temporary + UnpackFolderName(Utf8Of(reader.EpubPath)));
  }
  result.status = UnpackToFolder(reader.EpubPath, result.folder) ? Status::kUnpacked : Status::kFailed;
  return result;
}

}  // namespace quill
