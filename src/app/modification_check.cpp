#include "app/modification_check.h"

#include <algorithm>
#include <exception>
#include <map>
#include <optional>
#include <string_view>

#include "app/check_reason.h"
#include "archive/archive_error_kinds.h"
#include "archive/book_archive.h"
#include "archive/dos_date_time.h"
#include "archive/zip_file.h"
#include "base/error.h"
#include "base/error_kinds.h"
#include "base/text.h"
#include "base/time_resolution.h"
#include "epub/content_document.h"

namespace quill {
namespace {

// An entry's key: its name as an archive path, with "\\" separators, in
// upper case. Written into `key`, whose storage serves every entry in turn.
void EntryKey(std::string_view name, std::string& key) {
  key.clear();
  AppendUpperUnicode(key, name);
  std::replace(key.begin(), key.end(), '/', '\\');
}

// The spine paths' keys, made once into one buffer and sorted, so each entry
// costs one search however long the spine is.
class SpinePathSet {
 public:
  explicit SpinePathSet(const std::vector<std::string>& spinePaths) {
    std::vector<std::size_t> ends;
    ends.reserve(spinePaths.size());
    for (const std::string& path : spinePaths) {
      AppendUpperUnicode(text_, path);
      ends.push_back(text_.size());
    }
    keys_.reserve(ends.size());
    std::size_t start = 0;
    for (const std::size_t end : ends) {
      keys_.push_back(std::string_view(text_).substr(start, end - start));
      start = end;
    }
    std::sort(keys_.begin(), keys_.end());
  }
  // The keys are views of the set's own buffer.
  SpinePathSet(const SpinePathSet&) = delete;
  SpinePathSet& operator=(const SpinePathSet&) = delete;

  bool Holds(std::string_view key) const {
    return std::binary_search(keys_.begin(), keys_.end(), key);
  }

 private:
  std::string text_;
  std::vector<std::string_view> keys_;
};

// Whether the spine names any content document at all, found or not.
bool SpineListsContentDocument(const std::vector<std::string>& spinePaths) {
  return std::any_of(spinePaths.begin(), spinePaths.end(),
                     [](const std::string& path) { return IsContentDocument(path); });
}

CheckOutcome ImpossibleDate(const ZipEntryView& entry) {
  CheckOutcome outcome;
  outcome.verdict = CheckOutcome::Verdict::kImpossibleDate;
  outcome.document = std::string(entry.decodedName);
  return outcome;
}

// The outcome for a book whose spine document at `differing` does not carry
// the reference time, with every spine document found, so that the reason can
// name the odd ones out. A document stored under one name more than once
// counts once, by its last copy: the one a reader of the archive takes, and
// the newer one when a tool appended an edited copy.
CheckOutcome Difference(const TZipFile& zip, const std::vector<int>& spineIndices, int differing,
                        int referenceIndex, Timestamp reference, int timeResolution) {
  CheckOutcome outcome;
  outcome.verdict = CheckOutcome::Verdict::kDocumentDiffers;
  outcome.document = std::string(zip.Entry(differing).decodedName);
  outcome.documentTime = DosDateTimeToTimestamp(zip.Entry(differing).modifiedDateTime);
  outcome.referenceDocument = std::string(zip.Entry(referenceIndex).decodedName);
  outcome.referenceTime = reference;
  std::map<std::string, std::size_t> lastCopy;  // by key, the position in spineIndices
  std::string key;
  for (std::size_t i = 0; i < spineIndices.size(); ++i) {
    EntryKey(zip.Entry(spineIndices[i]).decodedName, key);
    lastCopy[key] = i;
  }
  std::vector<bool> counted(spineIndices.size(), false);
  for (const auto& [name, position] : lastCopy) counted[position] = true;
  std::vector<DocumentTime> spineDocuments;
  spineDocuments.reserve(lastCopy.size());
  for (std::size_t i = 0; i < spineIndices.size(); ++i) {
    if (!counted[i]) continue;
    const ZipEntryView entry = zip.Entry(spineIndices[i]);
    spineDocuments.push_back(
        {std::string(entry.decodedName), DosDateTimeToTimestamp(entry.modifiedDateTime)});
  }
  FindOddDocuments(outcome, spineDocuments, timeResolution);
  return outcome;
}

CheckOutcome Compare(const TZipFile& zip, const std::vector<std::string>& spinePaths,
                     int timeResolution) {
  const int count = zip.FileCount();
  // The reference is the last content document's time; every content
  // document is converted first, so an impossible time anywhere ends the check.
  std::optional<Timestamp> reference;
  int referenceIndex = -1;
  for (int i = 0; i < count; ++i) {
    const ZipEntryView entry = zip.Entry(i);
    if (!IsContentDocument(entry.decodedName)) continue;
    try {
      reference = DosDateTimeToTimestamp(entry.modifiedDateTime);
    } catch (const EConvertError&) {
      return ImpossibleDate(entry);
    }
    referenceIndex = i;
  }

  // Every spine document is gathered, also past the first difference: the
  // decision is the first difference's, but its reason names them all.
  const SpinePathSet spine(spinePaths);
  std::vector<int> spineIndices;
  std::optional<int> differing;
  std::string key;
  for (int i = 0; i < count; ++i) {
    const ZipEntryView entry = zip.Entry(i);
    if (!IsContentDocument(entry.decodedName)) continue;
    EntryKey(entry.decodedName, key);
    if (!spine.Holds(key)) continue;
    spineIndices.push_back(i);
    const Timestamp document = DosDateTimeToTimestamp(entry.modifiedDateTime);
    if (!differing && !SameAtTimeResolution(timeResolution, *reference, document)) differing = i;
  }
  if (differing) {
    return Difference(zip, spineIndices, *differing, referenceIndex, *reference, timeResolution);
  }
  CheckOutcome outcome;
  if (!spineIndices.empty()) {
    outcome.verdict = CheckOutcome::Verdict::kUnchanged;
  } else {
    outcome.verdict = SpineListsContentDocument(spinePaths)
                          ? CheckOutcome::Verdict::kNoSpineDocument
                          : CheckOutcome::Verdict::kSpineListsNoContentDocument;
  }
  return outcome;
}

}  // namespace

CheckOutcome CheckSpineTimes(const std::filesystem::path& archivePath,
                             const std::vector<std::string>& spinePaths, int timeResolution) {
  return CheckSpineTimes(std::make_shared<BookArchive>(archivePath, ReadOnlyFile::Sharing::kNone),
                         spinePaths, timeResolution);
}

CheckOutcome CheckSpineTimes(const std::shared_ptr<BookArchive>& archive,
                             const std::vector<std::string>& spinePaths, int timeResolution) {
  try {
    TZipFile zip;
    zip.Open(archive);
    return Compare(zip, spinePaths, timeResolution);
  } catch (const Error& error) {
    return CheckOutcome::CannotExamine(error.kind() + ": " + error.message());
  } catch (const std::exception& error) {
    return CheckOutcome::CannotExamine(error.what());
  }
}

bool SpineTimesMatch(const std::filesystem::path& archivePath,
                     const std::vector<std::string>& spinePaths, int timeResolution) {
  return CheckSpineTimes(archivePath, spinePaths, timeResolution).unchanged();
}

}  // namespace quill
