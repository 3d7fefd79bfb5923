#include <gtest/gtest.h>

#include "apps/application_launch.h"
#include "apps/application_list.h"
#include "apps/open_with_menu.h"
#include "base/text.h"
#include "recording_user_messages.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::RecordingUserMessages;
using testing::TempDir;
using testing::WriteFile;

// Case-insensitive, as the locale collation that the dialog passes is; the
// order of texts that differ otherwise is plain byte order here.
int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const std::string x = UpperUnicode(a), y = UpperUnicode(b);
  return x < y ? -1 : (x == y ? 0 : 1);
}

TEST(SortUniqueItems, SortsAndKeepsTheFirstOfEqualEntries) {
  std::vector<std::string> items = {"/t/b.exe", "/t/C.exe", "/T/B.EXE", "/t/a.exe", "/t/c.EXE", ""};
  SortUniqueItems(items, CompareIgnoringCase);
  EXPECT_EQ(items, (std::vector<std::string>{"", "/t/a.exe", "/t/b.exe", "/t/C.exe"}));
}

TEST(ApplicationEntries, MoveEndsTheEntryAtTheDropIndex) {
  ApplicationList list = {"a", "b", "c", "d"};
  MoveEntry(list, 0, 2);
  EXPECT_EQ(list, (ApplicationList{"b", "c", "a", "d"}));
  MoveEntry(list, 3, 0);
  EXPECT_EQ(list, (ApplicationList{"d", "b", "c", "a"}));
  MoveEntry(list, 1, -1);  // below the last entry
  EXPECT_EQ(list, (ApplicationList{"d", "c", "a", "b"}));
  MoveEntry(list, -1, 0);  // a drag that began outside the entries
  MoveEntry(list, 4, 0);
  EXPECT_EQ(list, (ApplicationList{"d", "c", "a", "b"}));
}

class ApplicationFilesOnDisk : public ::testing::Test {
 protected:
  ApplicationFilesOnDisk() {
    WriteFile(exe_, "MZ");
    WriteFile(program_, "#!/bin/sh\n");
    fs::permissions(program_, fs::perms::owner_all);
    WriteFile(text_, "notes");
  }
  std::string Path(const char* name) const { return (temp_ / name).string(); }

  TempDir temp_;
  fs::path exe_ = temp_ / "Reader.exe";
  fs::path program_ = temp_ / "reader";
  fs::path text_ = temp_ / "notes.txt";
};

TEST_F(ApplicationFilesOnDisk, DropsAddOnlyExistingApplications) {
  fs::create_directories(temp_ / "folder.exe");
  EXPECT_EQ(EntryForDroppedFile(exe_.string()), exe_.string());
  EXPECT_EQ(EntryForDroppedFile(program_.string()), program_.string());
  EXPECT_EQ(EntryForDroppedFile(text_.string()), std::nullopt);
  EXPECT_EQ(EntryForDroppedFile(Path("folder.exe")), std::nullopt);
  EXPECT_EQ(EntryForDroppedFile(Path("missing.exe")), std::nullopt);
}

TEST_F(ApplicationFilesOnDisk, ShortcutsAddTheirTargetOrNothing) {
  fs::create_symlink(program_, temp_ / "app.lnk");
  fs::create_symlink(program_, temp_ / "APP.LNK");
  WriteFile(temp_ / "windows.lnk", "L");
  EXPECT_EQ(EntryForDroppedFile(Path("app.lnk")), program_.string());
  EXPECT_EQ(EntryForDroppedFile(Path("APP.LNK")), Path("APP.LNK")) << "added as its own path";
  EXPECT_EQ(EntryForDroppedFile(Path("windows.lnk")), std::nullopt) << "unresolvable adds nothing";
  WriteFile(temp_ / "reader.desktop", "[Desktop Entry]\nExec=" + program_.string() + " %f\n");
  EXPECT_EQ(EntryForChosenFile(Path("reader.desktop")), program_.string());
  EXPECT_EQ(EntryForChosenFile(text_.string()), text_.string()) << "any file through the dialog";
}

TEST_F(ApplicationFilesOnDisk, DeleteMissingKeepsOnlyExistingFiles) {
  ApplicationList list = {exe_.string(), "", Path("gone.exe"), temp_.path().string(),
                          text_.string()};
  DeleteMissingEntries(list);
  EXPECT_EQ(list, (ApplicationList{exe_.string(), text_.string()}));
}

TEST_F(ApplicationFilesOnDisk, SubmenuHasOneItemPerEntryAfterAddAndSeparator) {
  const auto items = OpenWithMenuItems({exe_.string(), Path("gone.exe"), "", program_.string()});
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[0].kind, OpenWithItem::Kind::kAddAnotherApp);
  EXPECT_EQ(items[0].caption, "Add another app");
  EXPECT_EQ(items[1].kind, OpenWithItem::Kind::kSeparator);
  EXPECT_EQ(items[2].caption, "Reader.exe");
  EXPECT_EQ(items[2].hint, exe_.string());
  EXPECT_TRUE(items[2].enabled);
  EXPECT_EQ(items[3].caption, "gone.exe");
  EXPECT_FALSE(items[3].enabled);
  EXPECT_EQ(items[4].caption, "");
  EXPECT_FALSE(items[4].enabled);
  EXPECT_EQ(items[5].caption, "reader");
  EXPECT_EQ(OpenWithMenuItems({}).size(), 2u);
}

TEST(OpenWithApplication, WithNoBookSelectedSaysSo) {
  RecordingUserMessages messages;
  OpenWithApplication("/bin/true", std::nullopt);
  EXPECT_EQ(messages.messages, std::vector<std::string>{"No file selected"});
}

}  // namespace
}  // namespace quill
