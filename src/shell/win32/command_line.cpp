#include "shell/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "base/win32/wide_text.h"

namespace quill {

// main's argv holds the arguments in the system's narrow code page, which
// loses every character outside it; the UTF-16 command line keeps them all.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) {
    // Only when memory runs out: the narrow arguments are better than none.
    return argc < 1 ? std::vector<std::string>() : std::vector<std::string>(argv + 1, argv + argc);
  }
  const std::unique_ptr<wchar_t*, decltype(&::LocalFree)> owned(wide, &::LocalFree);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8OfWide(wide[i]));
  return arguments;
}

}  // namespace quill
