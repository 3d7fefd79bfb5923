#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "apps/application_launch.h"
#include "apps/application_list.h"
#include "apps/open_with_menu.h"
#include "base/path_text.h"
#include "recording_program.h"
#include "recording_user_messages.h"
#include "shell/user_registry.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

// A program and a book in folders whose names lie outside any one code page:
// the list keeps the program's path as UTF-8 text, and every step from the
// drop to the launch must find the same file again.
TEST(NonAsciiApplication, ThePathSurvivesTheListAndTheProgramStartsWithTheBook) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillmere");
  testing::RecordingUserMessages messages;
  testing::TempDir dir;
  fs::create_directory(dir / fs::path(u8"Eszközök"));
  fs::create_directory(dir / fs::path(u8"Könyvek"));
  const testing::RecordingProgram recorder(dir / fs::path(u8"Eszközök"),
                                           fs::path(u8"Olvasó ő.exe"));
  const fs::path& program = recorder.path();
  const fs::path book = dir / fs::path(u8"Könyvek/Éjszaka – első.epub");
  testing::WriteFile(book, "book");

  const auto entry = EntryForDroppedFile(Utf8Of(program));
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(*entry, Utf8Of(program));

  SaveApplicationList(*OpenUserRegistry(), {*entry});
  ApplicationList loaded = LoadApplicationList(*OpenUserRegistry());
  DeleteMissingEntries(loaded);
  ASSERT_EQ(loaded, ApplicationList{*entry});

  const OpenWithItem item = OpenWithApplicationItem(loaded.front());
  EXPECT_TRUE(item.enabled);
  EXPECT_EQ(item.caption, Utf8Of(program.filename()));

  LaunchWithFile(loaded.front(), Utf8Of(book));
  EXPECT_EQ(recorder.WaitForRecord(), "1\n" + Utf8Of(book) + "\n");
  EXPECT_TRUE(messages.messages.empty());
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillmere");
}

}  // namespace
}  // namespace quill
