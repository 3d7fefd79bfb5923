#include "archive/unpack_to_folder.h"

#include <exception>

#include "archive/unzipper.h"
#include "base/error_kinds.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "base/user_messages.h"

namespace quill {

bool UnpackToFolder(const std::filesystem::path& archivePath, const std::filesystem::path& folder,
                    UnpackReport* report) {
  if (!DirectoryExists(folder) && CreateDirectories(folder) != 0) {
    throw Exception("Nem tudom a könyvtárat létrehozni : " + Utf8Of(folder));
  }
  try {
    TAbUnZipper unzipper;
    unzipper.SetBaseDirectory(folder);
    unzipper.SetExtractOptions({eoCreateDirs, eoRestorePath});
    unzipper.SetFileName(archivePath);
    for (std::size_t i = 0; i < unzipper.Count(); ++i) {
      EntryExtraction extraction = unzipper.ExtractEntryToFolder(i);
      if (report != nullptr)
        report->Add(std::string(unzipper.Items(i).fileName), std::move(extraction));
    }
    return true;
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
    return false;
  }
}

}  // namespace quill
