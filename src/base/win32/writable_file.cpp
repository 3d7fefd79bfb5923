#include "base/writable_file.h"

#include <windows.h>

#include <algorithm>
#include <fcntl.h>
#include <io.h>

#include "base/file_system.h"
#include "base/win32/crt_handle.h"

namespace quill {
namespace {

// CREATE_NEW: whatever stands at the path, a file or a link planted after a
// removal, the creation fails rather than writing through it. Others may read
// the file while it is written, but not write it.
HANDLE CreateExclusive(const std::filesystem::path& path) {
  return ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::optional<WritableFile> WritableFile::Create(const std::filesystem::path& path) noexcept {
  HANDLE file = CreateExclusive(path);
  if (file == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_EXISTS && RemoveFile(path)) {
    file = CreateExclusive(path);
  }
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  const int descriptor = AdoptFileHandle(file, _O_WRONLY | _O_BINARY);
  if (descriptor < 0) return std::nullopt;
  return WritableFile(descriptor);
}

bool WritableFile::Write(std::string_view bytes) noexcept {
  const HANDLE file = FileHandleOf(handle_);
  while (!bytes.empty()) {
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), ask, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool WritableFile::Close() noexcept {
  if (handle_ < 0) return true;
  const int result = ::_close(handle_);
  handle_ = -1;
  return result == 0;
}

}  // namespace quill
