// The desktop program typed at a prompt: it has no console of its own, and
// answers in the console of the program that started it.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quill {
namespace {

// The text on the console's screen, row after row.
std::wstring ScreenText(HANDLE screen) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(screen, &info)) return {};
  std::wstring text(static_cast<std::size_t>(info.dwSize.X) * info.dwSize.Y, L' ');
  DWORD read = 0;
  ::ReadConsoleOutputCharacterW(screen, text.data(), static_cast<DWORD>(text.size()), {0, 0},
                                &read);
  text.resize(read);
  return text;
}

TEST(ParentConsole, TheVersionAskedAtAPromptIsWrittenToItsConsole) {
  // A console of the test's own, as a prompt has.
  ::FreeConsole();
  ASSERT_TRUE(::AllocConsole());
  const HANDLE screen =
      ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(screen, INVALID_HANDLE_VALUE);

  std::wstring command = L"\"" +
                         std::filesystem::absolute(QUILLMERE_PROGRAM).make_preferred().wstring() +
                         L"\" --version";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Started as Windows starts a program of the windowing subsystem from a
  // prompt: without a console and without standard streams.
  const bool started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                                        DETACHED_PROCESS, nullptr, nullptr, &startup, &process);
  ASSERT_TRUE(started);
  EXPECT_EQ(::WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);

  EXPECT_NE(ScreenText(screen).find(L"quillmere " QUILLMERE_VERSION), std::wstring::npos)
      << "what the console shows";
  ::CloseHandle(screen);
  ::FreeConsole();
}

}  // namespace
}  // namespace quill
