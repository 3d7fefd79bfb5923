#include "app/book_examination.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/modification_check.h"
#include "archive/book_archive.h"
#include "base/error.h"
#include "base/file_system.h"
#include "base/user_message_log.h"
#include "epub/package_reader.h"
#include "epub/spine_path_list.h"

namespace quill {
namespace {

// The spine paths of a package that reads, or nothing.
std::optional<std::vector<std::string>> SpinePathsOf(const TEpuB& reader) {
  if (!reader.Ok) return std::nullopt;
  return BuildSpinePathList(reader.OpfFolder, reader.SpineHrefs);
}

// The validity test, the package reading that readPackage makes (the spine
// paths, or nothing when the package does not read) and the check.
template <typename ReadPackage>
CheckOutcome Examine(const std::shared_ptr<BookArchive>& archive, int timeResolution,
                     ReadPackage readPackage) {
  if (!FileExists(archive->Path())) return CheckOutcome::CannotExamine("the file does not exist");
  if (!archive->HasEndRecordInTail()) {
    return CheckOutcome::CannotExamine("the file is no ZIP archive");
  }
  try {
    const std::optional<std::vector<std::string>> spinePaths = readPackage();
    if (!spinePaths) return CheckOutcome::CannotExamine("the package cannot be read");
    return CheckSpineTimes(archive, *spinePaths, timeResolution);
  } catch (const Error& error) {
    return CheckOutcome::CannotExamine(error.kind() + ": " + error.message());
  } catch (const std::exception& error) {
    return CheckOutcome::CannotExamine(error.what());
  }
}

}  // namespace

CheckOutcome ExamineBook(const std::filesystem::path& path, int timeResolution) {
  if (!FileExists(path)) return CheckOutcome::CannotExamine("the file does not exist");
  return ExamineBook(BookArchive::Open(path), timeResolution);
}

CheckOutcome ExamineBook(const std::shared_ptr<BookArchive>& archive, int timeResolution) {
  return Examine(archive, timeResolution, [&] {
    // A reader of its own: the package is read again, whatever the caller read.
    TEpuB reader;
    reader.Open(archive, TEpuB::TocEntries::kSkip);
    return SpinePathsOf(reader);
  });
}

CheckOutcome ExamineReadBook(const std::shared_ptr<BookArchive>& archive, const TEpuB& reading,
                             const UserMessageLog& shown, int timeResolution) {
  return Examine(archive, timeResolution, [&] {
    shown.ShowAgain(CurrentUserMessages());
    return SpinePathsOf(reading);
  });
}

bool IsUnchanged(const std::filesystem::path& path, int timeResolution) {
  return ExamineBook(path, timeResolution).unchanged();
}

}  // namespace quill
