// A desktop launcher that the user drops or picks, on any bytes: its
// "[Desktop Entry]" keys and the program its command line starts. Reading
// answers on any text, and a group after the entry's never changes it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_require.h"
#include "shell/desktop_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quill;
  using namespace quill::fuzzing;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto entry = ParseDesktopEntry(text);
  if (entry) DesktopEntryProgram(entry->exec);

  const auto followed = ParseDesktopEntry(text + "\n[Desktop Action other]\nExec=x\nIcon=y\n");
  Require(followed.has_value() == entry.has_value(), "another group makes no entry");
  if (entry) {
    Require(followed->exec == entry->exec && followed->icon == entry->icon,
            "another group's keys are passed over");
  }
  return 0;
}
