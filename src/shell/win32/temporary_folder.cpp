#include "shell/temporary_folder.h"

#include <windows.h>

#include "base/win32/wide_text.h"

namespace quill {
namespace {

// Asks a call that fills a buffer and answers the length it needs: grows the
// buffer until the answer fits. Empty when the call fails.
template <typename Fill>
std::wstring FilledBuffer(Fill fill) {
  std::wstring buffer(MAX_PATH + 1, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length + 1);
  }
  return {};
}

}  // namespace

std::string TemporaryFolderPath() {
  ::SetLastError(ERROR_SUCCESS);
  const std::wstring shortForm =
      FilledBuffer([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); });
  if (shortForm.empty()) return {};
  // The long form keeps the trailing separator that the temporary path has. A
  // folder that does not exist has no long form; its path serves as it is.
  const std::wstring longForm = FilledBuffer([&](wchar_t* buffer, DWORD size) {
    return ::GetLongPathNameW(shortForm.c_str(), buffer, size);
  });
  return Utf8OfWide(longForm.empty() ? shortForm : longForm);
}

// The temporary path is the one place there is.
std::string TemporaryFolderPlace() { return TemporaryFolderPath(); }

}  // namespace quill
