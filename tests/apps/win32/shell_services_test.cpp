#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "apps/application_launch.h"
#include "recording_program.h"
#include "shell/shortcut.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

// Writes a shell link to the target through the shell's own link object.
bool MakeShellLink(const fs::path& target, const fs::path& link) {
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return false;
  bool saved = false;
  IShellLinkW* shellLink = nullptr;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->SetPath(target.c_str())) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      saved = SUCCEEDED(file->Save(link.c_str(), TRUE));
      file->Release();
    }
    shellLink->Release();
  }
  ::CoUninitialize();
  return saved;
}

TEST(ShellLinks, AShortcutLeadsToItsTarget) {
  testing::TempDir dir;
  fs::create_directory(dir / "Reading Tools");
  const fs::path program = dir / "Reading Tools" / "book reader.exe";
  testing::WriteFile(program, "MZ");
  const fs::path shortcut = dir / "reader.lnk";
  ASSERT_TRUE(MakeShellLink(program, shortcut));

  ASSERT_TRUE(IsShortcutName(shortcut));
  const std::string target = ResolveShortcut(shortcut);
  ASSERT_FALSE(target.empty());
  // The target comes in its short form where the file system has one.
  EXPECT_TRUE(fs::equivalent(fs::u8path(target), program)) << target;
  EXPECT_EQ(ResolveShortcut(dir / "missing.lnk"), "");
  EXPECT_FALSE(IsShortcutName(dir / "READER.LNK"));
}

TEST(Launch, TheApplicationGetsTheBookAsItsOneArgument) {
  testing::TempDir dir;
  fs::create_directory(dir / "My Tools");
  fs::create_directory(dir / "My Books");
  const testing::RecordingProgram recorder(dir / "My Tools", "record argument.exe");
  const fs::path book = dir / "My Books" / "A Tale of Two Cities.epub";
  testing::WriteFile(book, "book");

  LaunchWithFile(recorder.path().string(), book.string());
  EXPECT_EQ(recorder.WaitForRecord(), "1\n" + book.string() + "\n");
}

TEST(Launch, NothingStartsForAMissingBook) {
  testing::TempDir dir;
  const testing::RecordingProgram recorder(dir.path(), "record.exe");
  LaunchWithFile(recorder.path().string(), (dir / "gone.epub").string());
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_FALSE(recorder.HasRun());
}

}  // namespace
}  // namespace quill
