#include "app/modification_check.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "epub/content_document.h"
#include "app/time_resolution.h"
#include "archive/archive_path.h"
#include "archive/dos_date_time.h"
#include "archive/zip_file.h"
#include "base/error.h"
#include "base/text.h"

namespace quill {
namespace {

// The entry name as extraction decodes it. Many producers store UTF-8 names
// without setting the flag, so UTF-8 by shape counts as UTF-8 too.
std::string ExtractedName(const ZipEntryView& entry) {
  if (IsAscii(entry.fileName)) return std::string(entry.fileName);
  if ((entry.flag & kFlagUtf8Name) != 0 || IsUtf8ByShape(entry.fileName)) {
    return SanitizeUtf8(entry.fileName);
  }
  return Cp437ToUtf8(entry.fileName);
}

// An entry's key: its name as an archive path, with "\\" separators.
std::string EntryKey(std::string name) { return UpperUnicode(ArchivePath(std::move(name))); }

// The name of a content document as extraction decodes it; nothing for any
// other entry. An ASCII name, the usual kind, is tested before it is copied.
std::optional<std::string> ContentDocumentName(const ZipEntryView& entry) {
  if (IsAscii(entry.fileName)) {
    if (!IsContentDocument(entry.fileName)) return std::nullopt;
    return std::string(entry.fileName);
  }
  std::string name = ExtractedName(entry);
  if (!IsContentDocument(name)) return std::nullopt;
  return name;
}

// The spine paths' keys, made once, so each entry costs one lookup however
// long the spine is.
class SpinePathSet {
 public:
  explicit SpinePathSet(const std::vector<std::string>& spinePaths) {
    keys_.reserve(spinePaths.size());
    for (const std::string& path : spinePaths) keys_.insert(UpperUnicode(path));
  }
  bool Holds(const std::string& key) const { return keys_.contains(key); }

 private:
  std::unordered_set<std::string> keys_;
};

CheckOutcome Compare(const TZipFile& zip, const std::vector<std::string>& spinePaths,
                     int timeResolution) {
  const int count = zip.FileCount();
  // The lookup key of every content document; none for the other entries.
  std::vector<std::optional<std::string>> contentKeys(static_cast<std::size_t>(count));
  std::optional<Timestamp> reference;
  int referenceIndex = -1;
  for (int i = 0; i < count; ++i) {
    const ZipEntryView entry = zip.Entry(i);
    std::optional<std::string> name = ContentDocumentName(entry);
    if (!name) continue;
    // Every content document is converted, so an impossible time anywhere ends the check.
    reference = DosDateTimeToTimestamp(entry.modifiedDateTime);
    referenceIndex = i;
    contentKeys[static_cast<std::size_t>(i)] = EntryKey(std::move(*name));
  }

  const SpinePathSet spine(spinePaths);
  CheckOutcome outcome;
  outcome.verdict = CheckOutcome::Verdict::kNoSpineDocument;
  for (int i = 0; i < count; ++i) {
    const std::optional<std::string>& key = contentKeys[static_cast<std::size_t>(i)];
    if (!key || !spine.Holds(*key)) continue;
    const Timestamp document = DosDateTimeToTimestamp(zip.Entry(i).modifiedDateTime);
    if (!SameAtTimeResolution(timeResolution, *reference, document)) {
      outcome.verdict = CheckOutcome::Verdict::kDocumentDiffers;
      outcome.document = ExtractedName(zip.Entry(i));
      outcome.documentTime = document;
      outcome.referenceDocument = ExtractedName(zip.Entry(referenceIndex));
      outcome.referenceTime = *reference;
      return outcome;
    }
    outcome.verdict = CheckOutcome::Verdict::kUnchanged;
  }
  return outcome;
}

}  // namespace

CheckOutcome CheckSpineTimes(const std::filesystem::path& archivePath,
                             const std::vector<std::string>& spinePaths, int timeResolution) {
  try {
    TZipFile zip;
    zip.Open(archivePath);
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
