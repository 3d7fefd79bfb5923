// The application store on any bytes: the registry file's text read, written
// and read again, and the application list loaded from it, saved and loaded
// again. Reading never raises and never keeps more than its cap; what is
// written reads back as the same keys and values, and a saved list loads as
// the same list.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "apps/application_list.h"
#include "fuzz_require.h"
#include "fuzz_scratch.h"
#include "shell/posix/reg_file_registry.h"
#include "shell/reg_file.h"
#include "silent_user_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quill;
  using namespace quill::fuzzing;
  static SilentUserMessages silence;
  static FuzzScratch scratch;

  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string written = RegFile::Parse(bytes).Format();
  Require(RegFile::Parse(written).Format() == written, "the written text reads back the same");

  const auto& file = scratch.WriteInput(data, size);
  const ApplicationList loaded = [&] {
    RegFileRegistry registry(file);
    return LoadApplicationList(registry);
  }();
  Require(loaded.size() <= static_cast<std::size_t>(kMaxApplicationCount), "the list is capped");
  {
    RegFileRegistry registry(file);
    SaveApplicationList(registry, loaded);
  }
  RegFileRegistry reread(file);
  Require(LoadApplicationList(reread) == loaded, "a saved list loads as the same list");
  return 0;
}
