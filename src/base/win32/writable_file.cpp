#include "base/writable_file.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <algorithm>

#include "base/win32/crt_handle.h"
#include "base/win32/file_system_internals.h"

namespace quill {
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

bool WritableFile::SetLastWriteTime(Timestamp localTime) noexcept {
  FILETIME time{};
  return LocalFileTime(localTime, time) &&
         ::SetFileTime(FileHandleOf(handle_), nullptr, nullptr, &time);
}

bool WritableFile::SetReadOnly() noexcept {
  const HANDLE file = FileHandleOf(handle_);
  FILE_BASIC_INFO info{};
  if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &info, sizeof info)) return false;
  // Zero times leave the file's times as they are.
  info.CreationTime.QuadPart = 0;
  info.LastAccessTime.QuadPart = 0;
  info.LastWriteTime.QuadPart = 0;
  info.ChangeTime.QuadPart = 0;
  info.FileAttributes |= FILE_ATTRIBUTE_READONLY;
  return ::SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info);
}

std::optional<FileIdentity> WritableFile::Identity() const noexcept {
  return IdentityOfHandle(FileHandleOf(handle_));
}

bool WritableFile::Close() noexcept {
  if (handle_ < 0) return true;
  const int result = ::_close(handle_);
  handle_ = -1;
  return result == 0;
}

}  // namespace quill
