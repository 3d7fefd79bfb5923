#include "shell/shortcut.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "base/path_text.h"
#include "base/text.h"
#include "base/win32/wide_text.h"
#include "shell/win32/com_scope.h"

namespace quill {
namespace {

// The buffer sizes that the installer's and the shell's calls are given.
constexpr DWORD kGuidChars = 39;
constexpr DWORD kInstallerPathChars = 261;
constexpr int kShellPathChars = 260;

// An interface pointer, released when the object ends.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* operator->() const { return pointer_; }
  Interface** out() { return &pointer_; }
  void** out_void() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// A library loaded while the object lives.
class Library {
 public:
  explicit Library(const wchar_t* name) : module_(::LoadLibraryW(name)) {}
  ~Library() {
    if (module_ != nullptr) ::FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  template <typename Function>
  Function* Find(const char* name) const {
    if (module_ == nullptr) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

using MsiGetShortcutTarget = UINT WINAPI(LPCWSTR, LPWSTR, LPWSTR, LPWSTR);
using MsiGetComponentPath = INT WINAPI(LPCWSTR, LPCWSTR, LPWSTR, DWORD*);

// The installed file that a Windows Installer shortcut stands for; empty when
// the shortcut is none or the installer is not there.
std::wstring InstallerTarget(const std::wstring& shortcut) {
  const Library msi(L"msi.dll");
  const auto shortcutTarget = msi.Find<MsiGetShortcutTarget>("MsiGetShortcutTargetW");
  const auto componentPath = msi.Find<MsiGetComponentPath>("MsiGetComponentPathW");
  if (shortcutTarget == nullptr || componentPath == nullptr) return {};
  wchar_t product[kGuidChars] = {};
  wchar_t feature[kGuidChars] = {};
  wchar_t component[kGuidChars] = {};
  if (shortcutTarget(shortcut.c_str(), product, feature, component) != ERROR_SUCCESS) return {};
  wchar_t path[kInstallerPathChars] = {};
  DWORD size = kInstallerPathChars;
  componentPath(product, component, path, &size);
  return path;
}

std::wstring ShellLinkTarget(const std::wstring& shortcut, std::wstring installerTarget) {
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.out_void()))) {
    return {};
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.out_void())) ||
      FAILED(file->Load(shortcut.c_str(), STGM_READ)) ||
      FAILED(link->Resolve(nullptr, SLR_ANY_MATCH))) {
    return installerTarget;
  }
  if (!installerTarget.empty()) return installerTarget;
  wchar_t path[kShellPathChars] = {};
  if (FAILED(link->GetPath(path, kShellPathChars, nullptr, SLGP_SHORTPATH))) return {};
  return path;
}

}  // namespace

bool IsShortcutName(const std::filesystem::path& path) {
  return ExtensionOf(Utf8Of(path.filename())) == ".lnk";
}

std::string ResolveShortcut(const std::filesystem::path& path) {
  try {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return {};
    const ComScope com;
    const std::wstring shortcut = absolute.wstring();
    return Utf8OfWide(ShellLinkTarget(shortcut, InstallerTarget(shortcut)));
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace quill
