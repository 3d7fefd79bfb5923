#include "app/epub_collection.h"

#include "app/book_examination.h"
#include "archive/zip_file.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "epub/Epub.h"
#include "shell/search_files.h"

namespace quill {
namespace {

constexpr char kEpubMask[] = "*.epub";

}  // namespace

EpubCollection::EpubCollection(TimeResolutionSource timeResolution, ListedBookSink listed)
    : timeResolution_(std::move(timeResolution)), listed_(std::move(listed)) {}

bool EpubCollection::AddIfChanged(const std::string& path) {
  const std::filesystem::path book = PathFromUtf8(path);
  TEpuB reader;
  reader.Open(book);
  if (!reader.Ok) return false;
  const CheckOutcome outcome = ExamineBook(book, timeResolution_());
  if (outcome.unchanged()) return false;
  listed_(BookRow{FileNameOf(path), path}, outcome);
  return true;
}

EpubCollection::Candidate EpubCollection::AddCandidate(const std::string& path) {
  if (!IsCandidate(PathFromUtf8(path))) return Candidate::kSkipped;
  return AddIfChanged(path) ? Candidate::kListed : Candidate::kNotListed;
}

bool EpubCollection::IsCandidate(const std::filesystem::path& path) {
  return FileExists(path) && TZipFile::IsValid(path);
}

void EpubCollection::ConfigureFolderSearch(TJvSearchFiles& search, bool includeSubfolders,
                                           const std::string& folder) {
  search.Files.clear();
  search.DirOption = includeSubfolders ? doIncludeSubDirs : doExcludeSubDirs;
  search.Options += soOwnerData;
  search.FileParams.SetFileMasks({kEpubMask});
  search.FileParams.SetSearchTypes({stFileMask});
  search.RootDirectory = folder;
}

}  // namespace quill
