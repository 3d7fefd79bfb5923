#include "shell/folder_listing.h"

#include <windows.h>

#include "base/win32/wide_text.h"
#include "base/win32/win32_handle.h"

namespace quill {

struct FolderListing::Handle {
  HANDLE find = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW data{};
  bool pending = true;  // the first entry came with the start of the listing
};

namespace {

ListingStart StartFailureOf(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
      return ListingStart::kAccessDenied;
    case ERROR_FILE_NOT_FOUND:
      return ListingStart::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return ListingStart::kPathNotFound;
    default:
      return ListingStart::kFailed;
  }
}

// The volume and file number of the folder that the path leads to.
bool ReadIdentity(const std::wstring& folder, FolderIdentity& identity) {
  const Win32Handle handle(::CreateFileW(
      folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &info)) return false;
  identity = {info.dwVolumeSerialNumber,
              (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  return true;
}

}  // namespace

FolderListing::FolderListing(const std::string& folder) {
  std::wstring pattern = WideOf(folder);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  auto handle = std::make_unique<Handle>();
  handle->find = ::FindFirstFileExW((pattern + L'*').c_str(), FindExInfoBasic, &handle->data,
                                    FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (handle->find == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    error_.assign(static_cast<int>(error), std::system_category());
    start_ = StartFailureOf(error);
    return;
  }
  handle_ = std::move(handle);
  if (!ReadIdentity(pattern, identity_)) {
    error_.assign(static_cast<int>(::GetLastError()), std::system_category());
    start_ = ListingStart::kFailed;
    Close();
    return;
  }
  start_ = ListingStart::kOpened;
}

FolderListing::~FolderListing() { Close(); }

bool FolderListing::Next(FolderEntry& entry) {
  if (!handle_) return false;
  if (handle_->pending) {
    handle_->pending = false;
  } else if (!::FindNextFileW(handle_->find, &handle_->data)) {
    const DWORD error = ::GetLastError();
    readFailed_ = error != ERROR_NO_MORE_FILES;
    if (readFailed_) error_.assign(static_cast<int>(error), std::system_category());
    return false;
  }
  const DWORD attributes = handle_->data.dwFileAttributes;
  entry.name = Utf8OfWide(handle_->data.cFileName);
  // A link to a folder (a junction, a folder link) carries the folder attribute.
  entry.isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  entry.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
  entry.system = (attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
  return true;
}

bool FolderListing::Close() {
  if (!handle_) return !readFailed_;
  const bool closed = ::FindClose(handle_->find) != 0;
  handle_.reset();
  return closed && !readFailed_;
}

}  // namespace quill
