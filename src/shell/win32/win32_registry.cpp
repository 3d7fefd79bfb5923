#include "shell/win32/win32_registry.h"

#include <windows.h>

#include <string>

#include "base/win32/wide_text.h"

namespace quill {
namespace {

// An open registry key, closed when the object ends.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// Reads the value's type and data, growing the buffer while the value grows
// under our hands. The error code of the last attempt otherwise.
LSTATUS ReadValue(HKEY key, const std::wstring& name, RegistryValue& value) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
  for (int attempt = 0; status == ERROR_SUCCESS && attempt < 4; ++attempt) {
    std::string data(size, '\0');
    DWORD got = size;
    status = ::RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &got);
    if (status == ERROR_SUCCESS) {
      data.resize(got);
      value = {static_cast<RegistryType>(type), std::move(data)};
      return ERROR_SUCCESS;
    }
    if (status == ERROR_MORE_DATA) {
      size = got;
      status = ERROR_SUCCESS;
    }
  }
  return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

}  // namespace

UserRegistry::Lookup Win32Registry::QueryValue(std::string_view keyPath, std::string_view name) {
  try {
    RegistryKey key;
    const LSTATUS opened =
        ::RegOpenKeyExW(HKEY_CURRENT_USER, WideOf(keyPath).c_str(), 0, KEY_READ, key.out());
    if (opened == ERROR_FILE_NOT_FOUND) return {KeyState::kMissing, std::nullopt};
    if (opened != ERROR_SUCCESS) return {KeyState::kUnreadable, std::nullopt};
    RegistryValue value;
    if (ReadValue(key.get(), WideOf(name), value) != ERROR_SUCCESS) {
      return {KeyState::kOpened, std::nullopt};
    }
    return {KeyState::kOpened, std::move(value)};
  } catch (const std::bad_alloc&) {
    return {KeyState::kUnreadable, std::nullopt};
  }
}

bool Win32Registry::CreateKey(std::string_view keyPath) {
  try {
    RegistryKey key;
    return ::RegCreateKeyExW(HKEY_CURRENT_USER, WideOf(keyPath).c_str(), 0, nullptr,
                             REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.out(),
                             nullptr) == ERROR_SUCCESS;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool Win32Registry::SetValue(std::string_view keyPath, std::string_view name,
                             const RegistryValue& value) {
  try {
    RegistryKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, WideOf(keyPath).c_str(), 0, KEY_SET_VALUE, key.out()) !=
        ERROR_SUCCESS) {
      return false;
    }
    return ::RegSetValueExW(key.get(), WideOf(name).c_str(), 0, static_cast<DWORD>(value.type),
                            reinterpret_cast<const BYTE*>(value.data.data()),
                            static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::unique_ptr<UserRegistry> OpenUserRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace quill
