// The ZIP directory reader on any bytes: validity test, open, names, headers,
// comment, the conversion of every stored time, and the zip view's listing
// that is built on them. Every answer is an answer or an Error.

#include <cstddef>
#include <cstdint>

#include "archive/archive_error_kinds.h"
#include "archive/dos_date_time.h"
#include "archive/zip_file.h"
#include "base/error.h"
#include "fuzz_require.h"
#include "fuzz_scratch.h"
#include "silent_user_messages.h"
#include "viewer/zip_view_listing.h"

namespace quill::fuzzing {
namespace {

void ReadEveryEntry(const TZipFile& zip) {
  const int count = zip.FileCount();
  Require(count >= 0, "the entry count is not negative");
  Require(zip.FileNames().size() == static_cast<std::size_t>(count), "one name per entry");
  for (int i = 0; i < count; ++i) {
    const TZipHeader header = zip.FileInfo(i);
    Require(header.FileName.size() == header.FileNameLength &&
                header.ExtraField.size() == header.ExtraFieldLength &&
                header.FileComment.size() == header.FileCommentLength,
            "a header's variable parts are as long as it declares");
    const ZipEntryView entry = zip.Entry(i);
    Require(entry.fileName == header.FileName && entry.modifiedDateTime == header.ModifiedDateTime,
            "the entry view agrees with the header copy");
    try {
      DosDateTimeToTimestamp(header.ModifiedDateTime);
    } catch (const EConvertError&) {
      // An impossible stored time: the caller's answer, not a fault.
    }
  }
  try {
    zip.FileInfo(count);
    Require(false, "an index past the end raises");
  } catch (const EArgumentOutOfRangeException&) {
  }
  zip.Comment();
}

}  // namespace
}  // namespace quill::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quill;
  using namespace quill::fuzzing;
  static FuzzScratch scratch;
  static SilentUserMessages silence;
  const std::filesystem::path& path = scratch.WriteInput(data, size);

  const bool valid = TZipFile::IsValid(path);
  TZipFile zip;
  try {
    zip.Open(path);
  } catch (const Error&) {
    Require(zip.Mode() == TZipMode::zmClosed, "a failed open leaves the reader closed");
    return 0;
  }
  Require(valid, "an archive that opens is valid");
  ReadEveryEntry(zip);
  zip.Close();

  ListContentDocuments(path);
  return 0;
}
