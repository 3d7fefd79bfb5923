#include "shell/shortcut.h"

#include <gtest/gtest.h>

#include "scoped_environment.h"
#include "shell/application_files.h"
#include "shell/desktop_entry.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnvironment;
using testing::TempDir;
using testing::WriteFile;

void WriteExecutable(const fs::path& path) {
  fs::create_directories(path.parent_path());
  WriteFile(path, "#!/bin/sh\n");
  fs::permissions(path, fs::perms::owner_all);
}

std::string Launcher(const std::string& exec) {
  return "[Desktop Entry]\nType=Application\nName=Reader\nExec=" + exec +
         "\n\n[Desktop Action New]\nExec=/wrong/action %U\n";
}

TEST(DesktopEntry, ProgramIsTheFirstWordWithQuotingUndone) {
  EXPECT_EQ(DesktopEntryProgram("foliate %U"), "foliate");
  EXPECT_EQ(DesktopEntryProgram("\"/opt/My Reader/bin/reader\" --open %f"),
            "/opt/My Reader/bin/reader");
  EXPECT_EQ(DesktopEntryProgram("\"/opt/a\\\"b\" %f"), "/opt/a\"b");
  EXPECT_EQ(DesktopEntryProgram("env LANG=hu_HU.UTF-8 GDK_SCALE=2 /usr/bin/reader %F"),
            "/usr/bin/reader");
  EXPECT_EQ(DesktopEntryProgram("   "), "");
}

TEST(DesktopEntry, OnlyTheEntryGroupCountsAndValuesAreUnescaped) {
  const auto entry = ParseDesktopEntry(
      "# comment\n[Desktop Action Other]\nExec=wrong\n[Desktop Entry]\nIcon=/icons/r.svg\n"
      "Exec=/opt/My\\sReader/run\n");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->exec, "/opt/My Reader/run");
  EXPECT_EQ(entry->icon, "/icons/r.svg");
  EXPECT_FALSE(ParseDesktopEntry("[Other]\nExec=x\n"));
}

class Shortcuts : public ::testing::Test {
 protected:
  TempDir temp_;
  fs::path bin_ = temp_ / "bin";
  ScopedEnvironment path_{"PATH", "relative/bin::" + bin_.string()};
};

TEST_F(Shortcuts, ALauncherLeadsToItsProgramFoundInPath) {
  WriteExecutable(bin_ / "reader");
  WriteFile(temp_ / "reader.desktop", Launcher("reader %U"));
  EXPECT_EQ(ResolveShortcut(temp_ / "reader.desktop"), (bin_ / "reader").string());

  WriteExecutable(temp_ / "My Apps" / "viewer");
  WriteFile(temp_ / "viewer.desktop",
            Launcher("\"" + (temp_ / "My Apps" / "viewer").string() + "\" %f"));
  EXPECT_EQ(ResolveShortcut(temp_ / "viewer.desktop"), (temp_ / "My Apps" / "viewer").string());
}

TEST_F(Shortcuts, AnUnresolvableLauncherGivesNothing) {
  WriteFile(temp_ / "missing.desktop", Launcher("not-installed %U"));
  fs::create_directories(bin_);
  WriteFile(bin_ / "plain", "not executable");
  WriteFile(temp_ / "plain.desktop", Launcher("plain"));
  WriteFile(temp_ / "relative.desktop", Launcher("bin/plain"));
  WriteFile(temp_ / "noexec.desktop", "[Desktop Entry]\nName=No program\n");
  for (const char* name :
       {"missing.desktop", "plain.desktop", "relative.desktop", "noexec.desktop", "absent.desktop"})
    EXPECT_EQ(ResolveShortcut(temp_ / name), "") << name;
}

TEST_F(Shortcuts, ALinkLeadsToTheFileItFinallyPointsTo) {
  WriteExecutable(bin_ / "reader");
  fs::create_symlink(bin_ / "reader", temp_ / "middle");
  fs::create_symlink("middle", temp_ / "reader.lnk");
  EXPECT_EQ(ResolveShortcut(temp_ / "reader.lnk"), (bin_ / "reader").string());
  fs::create_symlink(temp_ / "gone", temp_ / "dangling.lnk");
  EXPECT_EQ(ResolveShortcut(temp_ / "dangling.lnk"), "");
}

TEST_F(Shortcuts, AWindowsShortcutFileCannotBeResolvedHere) {
  WriteFile(temp_ / "reader.lnk", std::string("L\0\0\0", 4));
  EXPECT_EQ(ResolveShortcut(temp_ / "reader.lnk"), "");
}

TEST_F(Shortcuts, ShortcutNamesAreTakenAsWritten) {
  EXPECT_TRUE(IsShortcutName("/x/app.lnk"));
  EXPECT_TRUE(IsShortcutName("/x/app.desktop"));
  EXPECT_FALSE(IsShortcutName("/x/APP.LNK"));
  EXPECT_FALSE(IsShortcutName("/x/app.lnk.exe"));
  EXPECT_FALSE(IsShortcutName("/x.lnk/app"));
}

TEST_F(Shortcuts, ApplicationFilesAreProgramsLaunchersAndWindowsExtensions) {
  WriteExecutable(bin_ / "reader");
  WriteFile(temp_ / "notes.txt", "text");
  for (const char* name : {"a.exe", "B.EXE", "c.LnK", "d.desktop"}) {
    WriteFile(temp_ / name, "");
    EXPECT_TRUE(IsApplicationFile(temp_ / name)) << name;
  }
  EXPECT_TRUE(IsApplicationFile(bin_ / "reader"));
  EXPECT_FALSE(IsApplicationFile(temp_ / "notes.txt"));
  EXPECT_FALSE(IsApplicationFile(bin_)) << "a folder is no program, whatever its x bits";
  EXPECT_EQ(ApplicationFileMask(), "*.exe;*.lnk;*.desktop");
}

}  // namespace
}  // namespace quill
