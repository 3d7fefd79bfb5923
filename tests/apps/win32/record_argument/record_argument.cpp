// A small program for the launch tests: it writes the number of its arguments
// and its first argument, as UTF-16 lines, into "<its own path>.txt".
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  wchar_t self[MAX_PATH * 4] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  std::wstring record = std::to_wstring(argc - 1) + L"\n";
  if (argc > 1) record += argv[1];
  const std::wstring part = std::wstring(self) + L".part";
  const HANDLE file = ::CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written,
              nullptr);
  ::CloseHandle(file);
  // Moved into place whole, so the test never reads half a record.
  return ::MoveFileExW(part.c_str(), (std::wstring(self) + L".txt").c_str(),
                       MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
