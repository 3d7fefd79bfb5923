#include "viewer/zip_view_marks.h"

#include <algorithm>
#include <unordered_set>

#include "base/scoped_user_messages.h"
#include "base/text.h"
#include "base/time_resolution.h"
#include "epub/package_reader.h"
#include "epub/spine_path_list.h"
#include "viewer/time_text.h"

namespace quill {
namespace {

// Keeps the package reader's messages from the user while the zip view reads
// a spine that the user has seen reported already.
class QuietUserMessages final : public UserMessages {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string&) override {}
};

// The key under which an archive path and an entry name meet: "\"
// separators, letter case folded.
std::string PathKey(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return UpperUnicode(path);
}

std::string ResolutionName(int timeResolution) {
  if (timeResolution < 0 || timeResolution >= static_cast<int>(std::size(kResolutionNames)))
    return std::to_string(timeResolution);
  return kResolutionNames[timeResolution];
}

}  // namespace

std::optional<std::vector<std::string>> ReadSpinePaths(const std::filesystem::path& book) {
  QuietUserMessages quiet;
  const ScopedUserMessages scope(quiet);
  try {
    TEpuB reader;
    reader.Open(book);
    if (!reader.Ok) return std::nullopt;
    return BuildSpinePathList(reader.OpfFolder, reader.SpineHrefs);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

ZipViewMarks MarkSpineDocuments(const ZipViewListing& listing,
                                const std::optional<std::vector<std::string>>& spinePaths,
                                int timeResolution) {
  ZipViewMarks result;
  result.timeResolution = timeResolution;
  result.marks.assign(listing.rows.size(), ZipViewMark::kNone);
  if (listing.failure) {
    result.basis = ZipViewMarks::Basis::kUnreadableTimes;
    return result;
  }
  if (!spinePaths) {
    result.basis = ZipViewMarks::Basis::kNoSpine;
    return result;
  }
  if (listing.rows.empty()) return result;

  const std::size_t referenceRow = listing.rows.size() - 1;
  const Timestamp reference = listing.rows[referenceRow].fields->modified;
  result.referenceRow = referenceRow;
  result.marks[referenceRow] = ZipViewMark::kReference;

  std::unordered_set<std::string> spine;
  for (const std::string& path : *spinePaths) spine.insert(PathKey(path));
  for (std::size_t row = 0; row < listing.rows.size(); ++row) {
    if (!spine.contains(PathKey(listing.rows[row].name))) continue;
    ++result.spineDocuments;
    if (SameAtTimeResolution(timeResolution, reference, listing.rows[row].fields->modified))
      continue;
    ++result.differing;
    result.marks[row] = ZipViewMark::kDiffers;
  }
  return result;
}

std::string ZipViewMarksText(const ZipViewMarks& marks, const ZipViewListing& listing,
                             const TimeTextLocale& locale) {
  switch (marks.basis) {
    case ZipViewMarks::Basis::kUnreadableTimes:
      return "Not every stored time could be read, so no document is marked.";
    case ZipViewMarks::Basis::kNoSpine:
      return "The book's spine could not be read, so no document is marked.";
    case ZipViewMarks::Basis::kCompared:
      break;
  }
  if (!marks.referenceRow) return "The book has no content document to compare.";
  if (marks.spineDocuments == 0) return "No content document of the archive is named by the spine.";
  const ZipViewRow& reference = listing.rows[*marks.referenceRow];
  const std::string time = TimeText(reference.fields->modified, locale);
  const std::string tail = " the reference time " + time + " (document " + reference.name +
                           ") at resolution " + ResolutionName(marks.timeResolution);
  if (marks.differing == 0) {
    return "All " + std::to_string(marks.spineDocuments) + " spine documents agree with" + tail;
  }
  return std::to_string(marks.differing) + " of " + std::to_string(marks.spineDocuments) +
         " spine documents differ from" + tail;
}

}  // namespace quill
