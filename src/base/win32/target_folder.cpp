#include "base/target_folder.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <string>

#include "base/file_system.h"
#include "base/win32/crt_handle.h"
#include "base/win32/file_system_internals.h"
#include "base/win32/wide_text.h"
#include "base/win32/win32_handle.h"

namespace quill {
namespace {

using Failure = TargetFolder::Failure;

// Folders are held without FILE_SHARE_DELETE: while a folder is open here it
// cannot be renamed or removed, nor can any folder above it, so a path built
// from its final path names what lies in it.
constexpr DWORD kShareHeld = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// The folder's path as the system resolves it, with every link in it undone.
std::wstring FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(length);
  }
}

// Whether the opened handle is the entry `name` directly in `folder`: the
// final paths agree, letters compared without case as the system does.
bool LiesDirectlyIn(HANDLE opened, const std::wstring& folder, const std::wstring& name) {
  const std::wstring expected = folder + L"\\" + name;
  const std::wstring actual = FinalPath(opened);
  return !actual.empty() &&
         ::CompareStringOrdinal(actual.c_str(), static_cast<int>(actual.size()), expected.c_str(),
                                static_cast<int>(expected.size()), TRUE) == CSTR_EQUAL;
}

// Opens what stands at the path itself, a link not followed.
Win32Handle OpenEntry(const std::wstring& path, DWORD access, DWORD share) {
  return Win32Handle(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                   nullptr));
}

bool IsReparsePoint(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  return ::GetFileInformationByHandle(handle, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

Failure SystemFailure(DWORD error) { return {Failure::Kind::kSystem, static_cast<int>(error)}; }

// Deletes the file behind the handle (opened with DELETE access).
void DeleteByHandle(HANDLE handle) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace

std::optional<TargetFolder> TargetFolder::Open(const std::filesystem::path& folder) noexcept {
  try {
    Win32Handle handle(::CreateFileW(folder.c_str(), kFolderAccess, kShareHeld, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      return std::nullopt;
    }
    std::filesystem::path path = folder;
    return TargetFolder(reinterpret_cast<std::intptr_t>(handle.Release()), std::move(path));
  } catch (...) {
    return std::nullopt;
  }
}

TargetFolder::TargetFolder(TargetFolder&& other) noexcept
    : handle_(other.handle_), path_(std::move(other.path_)) {
  other.handle_ = -1;
}

TargetFolder& TargetFolder::operator=(TargetFolder&& other) noexcept {
  if (this != &other) {
    if (handle_ != -1) ::CloseHandle(Handle(handle_));
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    other.handle_ = -1;
  }
  return *this;
}

TargetFolder::~TargetFolder() {
  if (handle_ != -1) ::CloseHandle(Handle(handle_));
}

std::variant<TargetFolder, Failure> TargetFolder::Subfolder(std::string_view name,
                                                            bool create) const noexcept {
  try {
    const std::wstring folder = FinalPath(Handle(handle_));
    if (folder.empty()) return SystemFailure(::GetLastError());
    const std::wstring wide = WideOf(name);
    const std::wstring path = folder + L"\\" + wide;
    if (create && !::CreateDirectoryW(path.c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
      return SystemFailure(::GetLastError());
    }
    Win32Handle opened = OpenEntry(path, kFolderAccess, kShareHeld);
    if (!opened.valid()) return SystemFailure(::GetLastError());
    if (IsReparsePoint(opened.get()) || !LiesDirectlyIn(opened.get(), folder, wide)) {
      return Failure{Failure::Kind::kLink, 0};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(opened.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      return SystemFailure(ERROR_PATH_NOT_FOUND);  // a file stands where a folder must go
    }
    return TargetFolder(reinterpret_cast<std::intptr_t>(opened.Release()),
                        path_ / std::filesystem::path(wide));
  } catch (...) {
    return SystemFailure(ERROR_NOT_ENOUGH_MEMORY);
  }
}

std::variant<WritableFile, Failure> TargetFolder::NewFile(
    std::string_view name, const std::optional<FileIdentity>& keep) const noexcept {
  try {
    const std::wstring folder = FinalPath(Handle(handle_));
    if (folder.empty()) return SystemFailure(::GetLastError());
    const std::wstring wide = WideOf(name);
    const std::wstring path = folder + L"\\" + wide;
    // CREATE_NEW: whatever stands at the name, a file or a link planted after
    // the removal below, the creation fails rather than writing through it.
    // Others may read the file while it is written, but not write it.
    const auto create = [&] {
      return Win32Handle(
          ::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    };
    Win32Handle file = create();
    if (!file.valid() && ::GetLastError() == ERROR_FILE_EXISTS) {
      {
        const Win32Handle there = OpenEntry(path, FILE_READ_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (there.valid()) {
          if (IsReparsePoint(there.get())) return Failure{Failure::Kind::kLink, 0};
          if (keep && IdentityOfHandle(there.get()) == keep) {
            return Failure{Failure::Kind::kProtected, 0};
          }
        }
      }
      if (quill::RemoveFile(std::filesystem::path(path))) file = create();
    }
    if (!file.valid()) return SystemFailure(::GetLastError());
    if (!LiesDirectlyIn(file.get(), folder, wide)) {
      DeleteByHandle(file.get());
      return Failure{Failure::Kind::kLink, 0};
    }
    const int descriptor = AdoptFileHandle(file.Release(), _O_WRONLY | _O_BINARY);
    if (descriptor < 0) return SystemFailure(ERROR_TOO_MANY_OPEN_FILES);
    return WritableFile(descriptor);
  } catch (...) {
    return SystemFailure(ERROR_NOT_ENOUGH_MEMORY);
  }
}

bool TargetFolder::RemoveFile(std::string_view name) const noexcept {
  try {
    const std::wstring folder = FinalPath(Handle(handle_));
    return !folder.empty() &&
           quill::RemoveFile(std::filesystem::path(folder + L"\\" + WideOf(name)));
  } catch (...) {
    return false;
  }
}

std::optional<FileIdentity> TargetFolder::IdentityOf(std::string_view name) const noexcept {
  try {
    const std::wstring folder = FinalPath(Handle(handle_));
    if (folder.empty()) return std::nullopt;
    const Win32Handle there = OpenEntry(folder + L"\\" + WideOf(name), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!there.valid()) return std::nullopt;
    return IdentityOfHandle(there.get());
  } catch (...) {
    return std::nullopt;
  }
}

bool TargetFolder::SetLastWriteTime(Timestamp localTime) const noexcept {
  FILETIME time{};
  return LocalFileTime(localTime, time) && ::SetFileTime(Handle(handle_), nullptr, nullptr, &time);
}

}  // namespace quill
