// The package reader and the modification check on any bytes as an EPUB
// file. Neither raises: the reader answers with its ok flag, the check with
// true or false.

#include <cstddef>
#include <cstdint>

#include "app/book_examination.h"
#include "epub/package_reader.h"
#include "fuzz_require.h"
#include "fuzz_scratch.h"
#include "silent_user_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quill;
  using namespace quill::fuzzing;
  static FuzzScratch scratch;
  static SilentUserMessages silence;
  const std::filesystem::path& path = scratch.WriteInput(data, size);

  TEpuB reader;
  reader.Open(path);
  if (reader.Ok) {
    Require(!reader.SpineHrefs.empty(), "a package read in full has spine documents");
    Require(reader.LastIndex == static_cast<int>(reader.SpineHrefs.size()) - 1,
            "the last index names the last spine document");
  }
  // The time resolution, one of the five, from the input's size: every one
  // is reached without a second pass over the same bytes.
  const bool unchanged = IsUnchanged(path, static_cast<int>(size % 5));
  Require(!unchanged || reader.Ok, "a book confirmed unchanged has a readable package");
  return 0;
}
