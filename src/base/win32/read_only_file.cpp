#include "base/read_only_file.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <algorithm>

#include "base/error_kinds.h"
#include "base/path_text.h"
#include "base/win32/crt_handle.h"
#include "base/win32/file_system_internals.h"
#include "base/win32/wide_text.h"
#include "base/win32/win32_handle.h"

namespace quill {
namespace {

[[noreturn]] void RaiseOpenError(const std::filesystem::path& path, DWORD error) {
  throw EFOpenError("Cannot open file \"" + Utf8Of(path) + "\". " + SystemErrorText(error));
}

DWORD ShareMode(ReadOnlyFile::Sharing sharing) {
  return sharing == ReadOnlyFile::Sharing::kNone
             ? 0
             : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
}

}  // namespace

ReadOnlyFile ReadOnlyFile::Open(const std::filesystem::path& path, Sharing sharing) {
  Win32Handle file(::CreateFileW(path.c_str(), GENERIC_READ, ShareMode(sharing), nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) RaiseOpenError(path, ::GetLastError());
  // A device or a pipe with a book's name is no file to read from.
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) RaiseOpenError(path, ERROR_INVALID_FUNCTION);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) RaiseOpenError(path, ::GetLastError());
  const int descriptor = AdoptFileHandle(file.Release(), _O_RDONLY | _O_BINARY);
  if (descriptor < 0) RaiseOpenError(path, ERROR_TOO_MANY_OPEN_FILES);
  return ReadOnlyFile(descriptor, static_cast<std::uint64_t>(size.QuadPart));
}

void ReadOnlyFile::Release() noexcept {
  if (handle_ >= 0) ::_close(handle_);
  handle_ = -1;
}

std::optional<FileIdentity> ReadOnlyFile::Identity() const noexcept {
  return IdentityOfHandle(FileHandleOf(handle_));
}

std::size_t ReadOnlyFile::ReadFromSystem(std::uint64_t offset, std::span<std::byte> buffer) const {
  std::size_t done = 0;
  const HANDLE file = FileHandleOf(handle_);
  while (done < buffer.size()) {
    // The position rides in the OVERLAPPED structure, so reads need no seek.
    OVERLAPPED position{};
    const std::uint64_t at = offset + done;
    position.Offset = static_cast<DWORD>(at);
    position.OffsetHigh = static_cast<DWORD>(at >> 32);
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(buffer.size() - done, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file, buffer.data() + done, ask, &got, &position)) {
      if (::GetLastError() == ERROR_HANDLE_EOF) break;
      throw EReadError("Stream read error");
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace quill
