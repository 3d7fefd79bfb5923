#include "base/file_system.h"

#include <windows.h>

#include "base/win32/file_system_internals.h"
#include "base/win32/win32_handle.h"

namespace quill {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens what the path leads to (a link is followed) only to ask about it or
// to change its attributes; folders open too.
Win32Handle OpenTarget(const std::filesystem::path& path, DWORD access) {
  return Win32Handle(::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The attributes of what the path leads to: those of the entry itself, or,
// when the entry is a link, those of its target. Nothing when there is none.
std::optional<DWORD> TargetAttributes(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return attributes;
  const Win32Handle target = OpenTarget(path, FILE_READ_ATTRIBUTES);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!target.valid() || !::GetFileInformationByHandle(target.get(), &info)) return std::nullopt;
  return info.dwFileAttributes;
}

// The path without separators at its end, except the one of a root ("C:\").
std::filesystem::path WithoutTrailingSeparators(std::filesystem::path path) {
  while (path.has_relative_path() && !path.has_filename()) path = path.parent_path();
  return path;
}

int CreateFolderChain(const std::filesystem::path& folder) {
  if (DirectoryExists(folder)) return 0;
  const std::filesystem::path parent = folder.parent_path();
  if (!parent.empty() && parent != folder) {
    if (const int error = CreateFolderChain(parent); error != 0) return error;
  }
  if (::CreateDirectoryW(folder.c_str(), nullptr)) return 0;
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS) return DirectoryExists(folder) ? 0 : ERROR_PATH_NOT_FOUND;
  return static_cast<int>(error);
}

// Local calendar fields of a timestamp, to the millisecond.
bool ToSystemTime(Timestamp localTime, SYSTEMTIME& fields) {
  const std::int64_t total = MillisecondCount(localTime);
  if (total < 0) return false;
  const CivilDate date = DateFromDays(total / 86400000);
  const std::int64_t milliseconds = total % 86400000;
  if (date.year < 1601 || date.year > 30827) return false;
  fields = {};
  fields.wYear = static_cast<WORD>(date.year);
  fields.wMonth = static_cast<WORD>(date.month);
  fields.wDay = static_cast<WORD>(date.day);
  fields.wHour = static_cast<WORD>(milliseconds / 3600000);
  fields.wMinute = static_cast<WORD>(milliseconds / 60000 % 60);
  fields.wSecond = static_cast<WORD>(milliseconds / 1000 % 60);
  fields.wMilliseconds = static_cast<WORD>(milliseconds % 1000);
  return true;
}

}  // namespace

bool FileExists(const std::filesystem::path& path) noexcept {
  const auto attributes = TargetAttributes(path);
  return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::filesystem::path& path) noexcept {
  const auto attributes = TargetAttributes(path);
  return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsLink(const std::filesystem::path& path) noexcept {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::optional<std::uint64_t> FileSize(const std::filesystem::path& path) noexcept {
  const Win32Handle target = OpenTarget(path, FILE_READ_ATTRIBUTES);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!target.valid() || !::GetFileInformationByHandle(target.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

int CreateDirectories(const std::filesystem::path& path) noexcept {
  if (path.empty()) return ERROR_PATH_NOT_FOUND;
  try {
    return CreateFolderChain(WithoutTrailingSeparators(path));
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

bool LocalFileTime(Timestamp localTime, FILETIME& time) noexcept {
  SYSTEMTIME local{};
  SYSTEMTIME universal{};
  return ToSystemTime(localTime, local) &&
         ::TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) &&
         ::SystemTimeToFileTime(&universal, &time);
}

std::optional<FileIdentity> IdentityOfHandle(HANDLE handle) noexcept {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool RemoveFile(const std::filesystem::path& path) noexcept {
  if (::DeleteFileW(path.c_str())) return true;
  // A read-only file is removed too, as on systems where only the folder's
  // permissions decide.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0 ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  if (!::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) return false;
  if (::DeleteFileW(path.c_str())) return true;
  ::SetFileAttributesW(path.c_str(), attributes);
  return false;
}

}  // namespace quill
