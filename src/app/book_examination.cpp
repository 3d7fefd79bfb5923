#include "app/book_examination.h"

#include <exception>

#include "app/modification_check.h"
#include "app/spine_path_list.h"
#include "archive/zip_file.h"
#include "base/error.h"
#include "base/file_system.h"
#include "epub/Epub.h"

namespace quill {
namespace {

CheckOutcome ExamineValidBook(const std::filesystem::path& path, int timeResolution) {
  // A reader of its own: the package is read again, whatever the caller read.
  TEpuB reader;
  reader.Open(path);
  if (!reader.Ok) return CheckOutcome::CannotExamine("the package cannot be read");
  return CheckSpineTimes(path, BuildSpinePathList(reader.OpfFolder, reader.SpineHrefs),
                         timeResolution);
}

}  // namespace

CheckOutcome ExamineBook(const std::filesystem::path& path, int timeResolution) {
  if (!FileExists(path)) return CheckOutcome::CannotExamine("the file does not exist");
  if (!TZipFile::IsValid(path)) return CheckOutcome::CannotExamine("the file is no ZIP archive");
  try {
    return ExamineValidBook(path, timeResolution);
  } catch (const Error& error) {
    return CheckOutcome::CannotExamine(error.kind() + ": " + error.message());
  } catch (const std::exception& error) {
    return CheckOutcome::CannotExamine(error.what());
  }
}

bool IsUnchanged(const std::filesystem::path& path, int timeResolution) {
  return ExamineBook(path, timeResolution).unchanged();
}

}  // namespace quill
