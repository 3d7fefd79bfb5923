// The command-line program at a prompt: its console shows every character of
// a path and of a Hungarian message, whatever the console's code page.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/win32/wide_text.h"
#include "epub_builder.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;

// The text on the console's screen, row after row, without the blanks after
// its end; a line longer than a row goes on in the next one, so it stays whole
// in this text.
std::wstring ScreenText(HANDLE screen) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(screen, &info)) return {};
  std::wstring text(static_cast<std::size_t>(info.dwSize.X) * info.dwSize.Y, L' ');
  DWORD read = 0;
  ::ReadConsoleOutputCharacterW(screen, text.data(), static_cast<DWORD>(text.size()), {0, 0},
                                &read);
  text.resize(read);
  return text.substr(0, text.find_last_not_of(L' ') + 1);
}

// Runs quillmere-cli with both its output streams on the console, and waits.
void RunInConsole(HANDLE screen, const std::wstring& arguments) {
  std::wstring command =
      L"\"" + fs::absolute(QUILLMERE_CLI).make_preferred().wstring() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = screen;
  startup.hStdError = screen;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &process));
  EXPECT_EQ(::WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

TEST(ConsoleOutput, ShowsNonAsciiPathsAndHungarianMessagesWhole) {
  testing::TempDir dir;
  const fs::path library = dir / fs::path(u8"Könyvek őszre");
  fs::create_directory(library);
  const fs::path edited = library / fs::path(u8"Éjszaka – első.epub");
  testing::EpubBuilder()
      .Modified(DosDateTime(2021, 6, 15, 10, 0, 0))
      .AddChapters(2)
      .EditChapter(0, DosDateTime(2021, 6, 20, 8, 30, 0))
      .WriteTo(edited);
  const fs::path empty = dir / fs::path(u8"üres ű.epub");
  std::ofstream(empty).close();

  // A console of the test's own, as a prompt has; its handle is inherited.
  ::FreeConsole();
  ASSERT_TRUE(::AllocConsole());
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  const HANDLE screen =
      ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherited, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(screen, INVALID_HANDLE_VALUE);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(screen, &info)) {
    ::FreeConsole();
    GTEST_SKIP() << "no console screen here (Wine makes one only with a display)";
  }

  RunInConsole(screen, L"scan \"" + library.wstring() + L"\"");
  RunInConsole(screen, L"unpack \"" + empty.wstring() + L"\"");
  const std::wstring shown = ScreenText(screen);
  EXPECT_NE(shown.find(edited.wstring()), std::wstring::npos) << Utf8OfWide(shown);
  EXPECT_NE(shown.find(empty.wstring() + L": Érvénytelen adatfolyam"), std::wstring::npos)
      << Utf8OfWide(shown);
  ::CloseHandle(screen);
  ::FreeConsole();
}

}  // namespace
}  // namespace quill
