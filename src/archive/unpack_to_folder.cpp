#include "archive/unpack_to_folder.h"

#include <algorithm>
#include <exception>
#include <string>
#include <system_error>
#include <unordered_set>
#include <vector>

#include "archive/extract_path_guard.h"
#include "archive/unzipper.h"
#include "base/error_kinds.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "base/user_messages.h"

namespace quill {
namespace {

// How many stray files are named, and how many entries of the folder are
// looked at before the count stops: a folder as large as a home folder is
// not walked to its end.
constexpr std::size_t kStraysNamed = 5;
constexpr std::size_t kFolderEntriesLooked = 100000;

// Where each file entry of the archive lands, relative, "/" between names.
std::unordered_set<std::string> FilesOfTheBook(const TAbUnZipper& unzipper) {
  std::unordered_set<std::string> files;
  for (std::size_t i = 0; i < unzipper.Count(); ++i) {
    const TAbZipItem& item = unzipper.Items(i);
    if (item.IsDirectory()) continue;
    const GuardedPath guarded = GuardedExtractPath(item.fileName, false, true);
    if (!guarded.segments) continue;
    std::string file;
    for (const std::string& segment : *guarded.segments)
      file += (file.empty() ? "" : "/") + segment;
    files.insert(std::move(file));
  }
  return files;
}

// Notes in the report the files in the folder (links not followed) that the
// book does not name. What cannot be read is passed over.
void NoteStrays(const std::filesystem::path& folder, const TAbUnZipper& unzipper,
                UnpackReport& report) {
  const std::unordered_set<std::string> book = FilesOfTheBook(unzipper);
  std::error_code error;
  std::filesystem::recursive_directory_iterator walk(
      folder, std::filesystem::directory_options::skip_permission_denied, error);
  std::vector<std::string> strays;
  std::size_t looked = 0;
  for (; !error && walk != std::filesystem::recursive_directory_iterator(); walk.increment(error)) {
    if (++looked > kFolderEntriesLooked) {
      report.strayCountReachedLimit = true;
      break;
    }
    if (walk->is_directory(error) && !walk->is_symlink(error)) continue;
    const std::u8string relative = walk->path().lexically_relative(folder).generic_u8string();
    std::string name(relative.begin(), relative.end());
    if (!book.contains(name)) strays.push_back(std::move(name));
  }
  // The listing's order is the system's; the names shown are the first in order.
  std::sort(strays.begin(), strays.end());
  report.strayCount = strays.size();
  strays.resize(std::min(strays.size(), kStraysNamed));
  report.strays = std::move(strays);
}

}  // namespace

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
    if (report != nullptr) NoteStrays(folder, unzipper, *report);
    return true;
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
    return false;
  }
}

}  // namespace quill
