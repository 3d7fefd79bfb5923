#include "app/epub_collection.h"

#include "app/book_examination.h"
#include "archive/book_archive.h"
#include "archive/zip_file.h"
#include "base/file_system.h"
#include "base/path_text.h"
#include "base/scoped_user_messages.h"
#include "base/user_message_log.h"
#include "epub/package_reader.h"
#include "shell/search_files.h"

namespace quill {
namespace {

constexpr char kEpubMask[] = "*.epub";

}  // namespace

EpubCollection::EpubCollection(TimeResolutionSource timeResolution, ListedBookSink listed)
    : timeResolution_(std::move(timeResolution)), listed_(std::move(listed)) {}

EpubCollection::Examination EpubCollection::ExamineOpenBook(
    const std::shared_ptr<BookArchive>& archive, const TimeResolutionSource& timeResolution) {
  // The check reads the package too; its reading is this one, shown twice.
  UserMessageLog shown(&CurrentUserMessages());
  TEpuB reader;
  {
    const ScopedUserMessages scope(shown);
    reader.Open(archive, TEpuB::TocEntries::kSkip);  // the check reads the spine only
  }
  if (!reader.Ok) return {Candidate::kPackageUnreadable, {}, {}};
  CheckOutcome outcome = ExamineReadBook(archive, reader, shown, timeResolution());
  if (outcome.unchanged()) return {Candidate::kNotListed, {}, {}};
  return {Candidate::kListed, std::move(outcome), {}};
}

EpubCollection::Examination EpubCollection::ExamineCandidate(
    const std::string& path, const TimeResolutionSource& timeResolution,
    std::shared_ptr<BookArchive> readAhead) {
  const std::filesystem::path book = PathFromUtf8(path);
  if (!FileExists(book)) return {};
  // A file that did not open ahead is opened again: it may have appeared since.
  const std::shared_ptr<BookArchive> archive =
      readAhead && readAhead->IsOpen() ? std::move(readAhead) : BookArchive::Open(book);
  if (!archive->HasEndRecordInTail()) return {Candidate::kSkipped, {}, archive->Failure()};
  return ExamineOpenBook(archive, timeResolution);
}

EpubCollection::Candidate EpubCollection::Deliver(const std::string& path,
                                                  const Examination& examination) {
  if (examination.candidate == Candidate::kListed) {
    listed_(BookRow{FileNameOf(path), path}, examination.outcome);
  }
  return examination.candidate;
}

bool EpubCollection::AddIfChanged(const std::string& path) {
  const Examination examination =
      ExamineOpenBook(BookArchive::Open(PathFromUtf8(path)), timeResolution_);
  return Deliver(path, examination) == Candidate::kListed;
}

EpubCollection::Candidate EpubCollection::AddCandidate(const std::string& path) {
  return Deliver(path, ExamineCandidate(path, timeResolution_));
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
