// The extraction component on any bytes: open, then every entry by its name
// into memory. Opening answers or raises an Error; extracting never raises
// and never writes more than the entry may hold.

#include <cstddef>
#include <cstdint>

#include "archive/unzipper.h"
#include "base/error.h"
#include "base/memory_stream.h"
#include "fuzz_require.h"
#include "fuzz_scratch.h"
#include "silent_user_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quill;
  using namespace quill::fuzzing;
  static FuzzScratch scratch;
  static SilentUserMessages silence;
  const std::filesystem::path& path = scratch.WriteInput(data, size);

  TAbUnZipper unzipper;
  try {
    unzipper.SetFileName(path);
  } catch (const Error&) {
    Require(unzipper.Count() == 0 && unzipper.FileName().empty(),
            "a failed open leaves no archive open");
    return 0;
  }
  for (std::size_t i = 0; i < unzipper.Count(); ++i) {
    MemoryStream stream;
    unzipper.ExtractEntryToStream(unzipper.Items(i).fileName, stream);
    Require(stream.Size() <= TAbUnZipper::kMaxStreamEntrySize,
            "an entry extracted into memory stays within the cap");
  }
  return 0;
}
