#include "archive/epub_unzipper.h"

#include <exception>

#include "archive/ab_unzipper.h"
#include "base/error_kinds.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "base/user_messages.h"

namespace quill {

bool UnpackToFolder(const std::filesystem::path& archivePath, const std::filesystem::path& folder) {
  // A link at the folder's place could send every file anywhere; like a link
  // below the folder, it is not written through.
  if (IsLink(folder) || (!DirectoryExists(folder) && CreateDirectories(folder) != 0)) {
    throw Exception("Nem tudom a könyvtárat létrehozni : " + Utf8Of(folder));
  }
  try {
    TAbUnZipper unzipper;
    unzipper.SetBaseDirectory(folder);
    unzipper.SetExtractOptions({eoCreateDirs, eoRestorePath});
    unzipper.SetFileName(archivePath);
    for (std::size_t i = 0; i < unzipper.Count(); ++i) unzipper.ExtractEntryToFolder(i);
    return true;
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
    return false;
  }
}

}  // namespace quill
