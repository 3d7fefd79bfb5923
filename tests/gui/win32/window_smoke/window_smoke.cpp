// Smoke test of the desktop program on a Windows desktop (Wine in a virtual X
// server does): starts the program with a folder of books on its command
// line, as a user's shortcut would, and drives it from outside as a user
// does, through the real window system.
//
//   window_smoke PROGRAM SCREENSHOT.bmp   the whole smoke test
//   window_smoke PROGRAM                  only that the program starts and
//                                         ends (an installed copy, say)
//
// The main window must appear titled "Zuro" with its client area of 931 by
// 530; the edited book of the folder must be listed (a double-click on the
// first row opens the zip view titled "Zipview: " and the book's path, which
// only a listed book can do); a picture of the desktop with both windows is
// kept. Exit status 0 when every check passed.

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "epub_builder.h"
#include "zip_writer.h"

namespace {

namespace fs = std::filesystem;

int failures = 0;

void Check(bool passed, const char* what) {
  std::printf("%s: %s\n", passed ? "ok" : "FAILED", what);
  std::fflush(stdout);
  if (!passed) ++failures;
}

struct Found {
  std::wstring prefix;
  HWND window = nullptr;
  std::wstring title;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM parameter) {
  auto* found = reinterpret_cast<Found*>(parameter);
  wchar_t title[1024] = {};
  ::GetWindowTextW(window, title, 1024);
  if (::IsWindowVisible(window) && std::wstring(title).starts_with(found->prefix)) {
    found->window = window;
    found->title = title;
    return FALSE;
  }
  return TRUE;
}

// The first visible top-level window whose title starts with the prefix,
// waited for up to the given time.
Found WaitForWindow(const std::wstring& prefix, int seconds) {
  Found found{prefix};
  for (int waited = 0; waited < seconds * 10 && !found.window; ++waited) {
    ::EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&found));
    if (!found.window) ::Sleep(100);
  }
  return found;
}

void Click(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
  ::Sleep(30);
}

void DoubleClickAt(HWND window, POINT point) {
  ::SetForegroundWindow(window);
  ::ClientToScreen(window, &point);
  ::SetCursorPos(point.x, point.y);
  ::Sleep(200);
  for (int i = 0; i < 2; ++i) {
    Click(MOUSEEVENTF_LEFTDOWN);
    Click(MOUSEEVENTF_LEFTUP);
  }
}

// The whole screen as a 24-bit bitmap file.
bool SaveScreen(const fs::path& file) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB};
  const DWORD rowBytes = ((width * 3 + 3) / 4) * 4;
  std::string pixels(rowBytes * height, '\0');
  ::GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = _wfopen(file.c_str(), L"wb");
  if (!out) return false;
  std::fwrite(&header, sizeof header, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data(), pixels.size(), 1, out);
  return std::fclose(out) == 0;
}

// Starts the program with its arguments; null when it cannot be started.
HANDLE Start(std::wstring command) {
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::fprintf(stderr, "window_smoke: cannot start the program (%lu)\n", ::GetLastError());
    return nullptr;
  }
  ::CloseHandle(process.hThread);
  return process.hProcess;
}

// Closes the window as its close button does; the program must then end.
void CloseAndWait(HWND window, HANDLE process) {
  if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
  const bool ended = ::WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
  Check(ended, "closing the main window ends the program");
  if (!ended) ::TerminateProcess(process, 1);
  ::CloseHandle(process);
}

HWND MainWindow() {
  const Found main = WaitForWindow(L"Zuro", 90);
  Check(main.window && main.title == L"Zuro", "the main window appears titled \"Zuro\"");
  return main.title == L"Zuro" ? main.window : nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: window_smoke PROGRAM [SCREENSHOT.bmp]\n");
    return 2;
  }
  const std::wstring program = L"\"" + std::wstring(argv[1]) + L"\"";
  if (argc == 2) {
    HANDLE process = Start(program);
    if (!process) return 1;
    CloseAndWait(MainWindow(), process);
    return failures == 0 ? 0 : 1;
  }

  using quill::testing::DosDateTime;
  // A folder with a path that needs quoting: one untouched book, one edited.
  const fs::path books = fs::temp_directory_path() / L"Smoke Books";
  fs::create_directories(books);
  const fs::path edited = books / L"Edited.epub";
  quill::testing::EpubBuilder().AddChapters(3).WriteTo(books / L"Untouched.epub");
  quill::testing::EpubBuilder()
      .AddChapters(3)
      .EditChapter(1, DosDateTime(2024, 5, 1, 12, 0, 0))
      .WriteTo(edited);
  HANDLE process = Start(program + L" \"" + books.wstring() + L"\"");
  if (!process) return 1;

  const HWND main = MainWindow();
  if (main) {
    RECT client{};
    ::GetClientRect(main, &client);
    std::printf("main window client area: %ld x %ld\n", client.right, client.bottom);
    Check(client.right == 931 && client.bottom == 530, "its client area is 931 by 530");
    // The folder is searched once the window shows; the first row lies below
    // the header bar and the list's column headers.
    ::Sleep(3000);
    DoubleClickAt(main, POINT{100, 27 + 24 + 9});
  }
  const Found zip = WaitForWindow(L"Zipview: ", 20);
  Check(zip.title == L"Zipview: " + edited.wstring(),
        "the edited book is listed and a double-click opens its zip view");
  ::Sleep(1000);
  Check(SaveScreen(argv[2]), "a picture of the desktop is saved");

  if (zip.window) ::PostMessageW(zip.window, WM_CLOSE, 0, 0);
  ::Sleep(500);
  CloseAndWait(main, process);
  return failures == 0 ? 0 : 1;
}
