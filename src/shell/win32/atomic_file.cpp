#include "shell/atomic_file.h"

#include <windows.h>

#include <string>

#include "base/win32/win32_handle.h"

namespace quill {
namespace {

// A temporary file beside the target that is removed when the object ends,
// unless it was moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& target) {
    for (unsigned attempt = 0; attempt < 100 && !file_.valid(); ++attempt) {
      name_ = target;
      name_ += L".tmp-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
               std::to_wstring(::GetTickCount64() + attempt);
      file_ = Win32Handle(::CreateFileW(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file_.valid() && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
  }
  ~TemporaryFile() {
    file_.Reset();
    if (!moved_) ::DeleteFileW(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() const { return file_.valid(); }

  bool WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      DWORD written = 0;
      const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      if (!::WriteFile(file_.get(), bytes.data(), ask, &written, nullptr) || written == 0)
        return false;
      bytes.remove_prefix(written);
    }
    return true;
  }

  // Flushes to the disk and closes; a failing close means a failed write.
  bool FlushAndClose() {
    if (!::FlushFileBuffers(file_.get())) return false;
    return ::CloseHandle(file_.Release()) != 0;
  }

  // Replaces the target, keeping its attributes and security when it exists.
  bool MoveTo(const std::filesystem::path& target) {
    const bool exists = ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    moved_ = exists ? ::ReplaceFileW(target.c_str(), name_.c_str(), nullptr,
                                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                    : ::MoveFileExW(name_.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    return moved_;
  }

 private:
  std::filesystem::path name_;
  Win32Handle file_;
  bool moved_ = false;
};

}  // namespace

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) noexcept {
  try {
    TemporaryFile temporary(path);
    return temporary.IsOpen() && temporary.WriteAll(bytes) && temporary.FlushAndClose() &&
           temporary.MoveTo(path);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace quill
