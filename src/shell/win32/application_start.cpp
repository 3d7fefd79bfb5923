#include "shell/application_start.h"

#include <windows.h>

#include <shellapi.h>

#include "base/win32/wide_text.h"

namespace quill {

bool StartApplication(const std::filesystem::path& program, const std::string& argument) noexcept {
  try {
    // The one argument in double quotes, so that blanks keep it whole.
    const std::wstring parameters = L"\"" + WideOf(argument) + L"\"";
    const HINSTANCE result =
        ::ShellExecuteW(nullptr, nullptr, program.c_str(), parameters.c_str(), nullptr, SW_SHOW);
    // Values above 32 mean success, the rest are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace quill
