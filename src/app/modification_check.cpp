#include "app/modification_check.h"

#include <exception>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "app/content_document.h"
#include "app/time_resolution.h"
#include "archive/dos_date_time.h"
#include "archive/zip_file.h"
#include "base/text.h"

namespace quill {
namespace {

// The entry name as extraction decodes it. Many producers store UTF-8 names
// without setting the flag, so UTF-8 by shape counts as UTF-8 too.
std::string ExtractedName(const TZipHeader& header) {
  if (header.FileNameCodePage() == kCodePageUtf8 || IsUtf8ByShape(header.FileName)) {
    return SanitizeUtf8(header.FileName);
  }
  return Cp437ToUtf8(header.FileName);
}

// The spine paths upper-cased once, so each entry costs one lookup however
// long the spine is.
class SpinePathSet {
 public:
  explicit SpinePathSet(const std::vector<std::string>& spinePaths) {
    paths_.reserve(spinePaths.size());
    for (const std::string& path : spinePaths) paths_.insert(UpperUnicode(path));
  }
  bool Holds(std::string_view archivePath) const {
    return paths_.contains(UpperUnicode(archivePath));
  }

 private:
  std::unordered_set<std::string> paths_;
};

bool Compare(const TZipFile& zip, const std::vector<std::string>& spinePaths,
             int timeResolution) {
  const auto headers = zip.Headers();
  std::vector<std::optional<std::string>> contentNames(headers.size());
  std::optional<Timestamp> reference;
  for (std::size_t i = 0; i < headers.size(); ++i) {
    std::string name = ExtractedName(headers[i]);
    if (!IsContentDocument(name)) continue;
    // Every content document is converted, so an impossible time anywhere ends the check.
    reference = DosDateTimeToTimestamp(headers[i].ModifiedDateTime);
    contentNames[i] = std::move(name);
  }

  const SpinePathSet spine(spinePaths);
  bool result = false;
  for (std::size_t i = 0; i < headers.size(); ++i) {
    if (!contentNames[i] || !spine.Holds(ReplaceChar(*contentNames[i], '/', '\\'))) continue;
    const Timestamp document = DosDateTimeToTimestamp(headers[i].ModifiedDateTime);
    result = SameAtTimeResolution(timeResolution, *reference, document);
    if (!result) return false;
  }
  return result;
}

}  // namespace

bool SpineTimesMatch(const std::filesystem::path& archivePath,
                     const std::vector<std::string>& spinePaths, int timeResolution) {
  try {
    TZipFile zip;
    zip.Open(archivePath);
    return Compare(zip, spinePaths, timeResolution);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace quill
