// The two commands that hand a listed book to the file manager, against the
// test program's own session bus with a file manager that records requests.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <ctime>

#include "app/qt/book_list_model.h"
#include "app/qt/main_window.h"
#include "epub_builder.h"
#include "private_session_bus.h"
#include "recording_user_messages.h"
#include "scoped_environment.h"
#include "scripted_dialogs.h"
#include "shell/qt/select_in_explorer.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::EpubBuilder;
using testing::PrivateSessionBus;
using testing::ReadFile;
using testing::ScopedEnvironment;
using testing::WriteFile;

QString FileUri(const fs::path& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path.string())).toString(QUrl::FullyEncoded);
}

// The file's last-write time as a local MS-DOS date and time.
std::uint32_t LocalDosTimeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  std::tm local{};
  ::localtime_r(&info.st_mtime, &local);
  return DosDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min, local.tm_sec);
}

TEST_F(PrivateSessionBus, SelectInExplorerSendsTheItemsUriToTheFileManager) {
  StartFileManager();
  const fs::path book = temp_ / "My Books" / "Példa könyv.epub";
  fs::create_directories(book.parent_path());
  WriteFile(book, "book");
  EXPECT_TRUE(SelectInExplorer(book));
  ASSERT_EQ(fileManager_.shown().size(), 1);
  const QString uri = fileManager_.shown().constFirst();
  EXPECT_TRUE(uri.startsWith(QStringLiteral("file:///"))) << uri.toStdString();
  EXPECT_TRUE(uri.endsWith(QStringLiteral("/My%20Books/P%C3%A9lda%20k%C3%B6nyv.epub")))
      << uri.toStdString();
  EXPECT_EQ(QUrl(uri).toLocalFile().toStdString(), book.string());

  // A folder given with its trailing separator is shown as the folder.
  EXPECT_TRUE(SelectInExplorer(book.parent_path() / ""));
  EXPECT_EQ(fileManager_.shown().value(1), FileUri(book.parent_path()));
  EXPECT_TRUE(folderHandler_.opened().isEmpty()) << "the file manager answered";
}

TEST_F(PrivateSessionBus, SelectInExplorerWithoutAFileManagerOpensTheFolder) {
  WriteFile(temp_ / "book.epub", "book");
  EXPECT_TRUE(SelectInExplorer(temp_ / "book.epub"));
  EXPECT_EQ(folderHandler_.opened(), QStringList{QString::fromStdString(temp_.path().string())});
  EXPECT_FALSE(SelectInExplorer(temp_ / "gone.epub"));

  // A default handler that cannot be started leaves nothing to show.
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &folderHandler_, "NoSuchHandler");
  EXPECT_FALSE(SelectInExplorer(temp_ / "book.epub"));
  EXPECT_EQ(folderHandler_.opened().size(), 1);
}

// The main window with a listed book and a temporary directory of the test's
// own, so that unpacked copies land in the test's folder.
class ExplorerCommands : public PrivateSessionBus {
 protected:
  void SetUp() override {
    PrivateSessionBus::SetUp();
    if (IsSkipped()) return;
    fs::create_directories(tmp_);
    fs::create_directories(book_.parent_path());
    builder_.AddChapters(2).AddResource("Images/photo.jpg", "not really an image");
    builder_.WriteTo(book_);
    StartFileManager();
    form_.show();
  }

  // The folder that unpacked books go to.
  fs::path UnpackBase() const { return tmp_ / ("quillmere-" + std::to_string(::getuid())); }

  void SelectBook(const fs::path& book) {
    auto* list = form_.findChild<QTableView*>("ListView1");
    auto* books = dynamic_cast<BookListModel*>(list->model());
    books->Append({book.filename().string(), book.string()});
    list->selectRow(books->rowCount() - 1);
  }

  // Chooses the command from the menu: the click arrives through the event
  // loop, as a user's does.
  void Choose(const char* item) {
    QTimer::singleShot(0, form_.findChild<QAction*>(item), &QAction::trigger);
    QCoreApplication::processEvents();
  }
  void Unpack() { Choose("EpubunpackingandopeningintheInstitute1"); }

  fs::path tmp_ = temp_ / "tmp";
  ScopedEnvironment tmpdir_{"TMPDIR", tmp_.string()};
  fs::path book_ = temp_ / "My Books" / "Alice.epub";
  EpubBuilder builder_;
  testing::ScriptedDialogs dialogs_;
  testing::RecordingUserMessages messages_;
  TForm1 form_{dialogs_};
};

TEST_F(ExplorerCommands, OpenFileExplorerShowsTheSelectedBookOnly) {
  Choose("OpenFileExplorerandselect1");
  EXPECT_TRUE(fileManager_.shown().isEmpty()) << "no row selected";
  SelectBook(book_);
  Choose("OpenFileExplorerandselect1");
  EXPECT_EQ(fileManager_.shown(), QStringList{FileUri(book_)});

  fs::remove(book_);
  Choose("OpenFileExplorerandselect1");
  EXPECT_EQ(fileManager_.shown().size(), 1) << "a book deleted since it was listed shows nothing";
}

TEST_F(ExplorerCommands, UnpackingPutsTheBookInItsFolderAndShowsTheFolderSelected) {
  SelectBook(book_);
  Unpack();
  const fs::path folder = UnpackBase() / "Alice";
  const fs::path chapter = folder / builder_.ChapterEntryName(0);
  ASSERT_TRUE(fs::is_regular_file(chapter));
  EXPECT_TRUE(fs::is_regular_file(folder / "META-INF" / "container.xml"));
  EXPECT_EQ(ReadFile(folder / "OEBPS" / "content.opf"), builder_.OpfXml());
  EXPECT_EQ(LocalDosTimeOf(chapter), testing::kDosTime20210615) << "the archive's time";
  EXPECT_EQ(fileManager_.shown(), QStringList{FileUri(folder)});
  EXPECT_TRUE(messages_.errors.empty());

  // A second unpack replaces what the book holds and leaves what it does not.
  fs::permissions(chapter, fs::perms::owner_write, fs::perm_options::add);
  WriteFile(chapter, "changed");
  WriteFile(folder / "notes.txt", "mine");
  Unpack();
  EXPECT_NE(ReadFile(chapter), "changed");
  EXPECT_EQ(ReadFile(folder / "notes.txt"), "mine");
  EXPECT_EQ(fileManager_.shown().size(), 2);
  EXPECT_TRUE(messages_.errors.empty());
  EXPECT_EQ(messages_.messages,
            std::vector<std::string>{"The folder also holds 1 file that is not in this book, left "
                                     "by an earlier unpack: notes.txt.\n"});
}

TEST_F(ExplorerCommands, EntriesLeftOutAreListedInOneBoxAndTheFolderIsShownAllTheSame) {
  testing::ZipEntry corrupt;
  corrupt.name = "OEBPS/corrupt.xhtml";
  corrupt.data = "lost";
  corrupt.rawData = "\xFF\xFF\xFF";
  builder_.ToZip().Add(corrupt).WriteTo(book_);
  SelectBook(book_);
  Unpack();
  EXPECT_EQ(messages_.errors,
            std::vector<std::string>{"One entry of the book was not unpacked as stored:\n"
                                     "OEBPS/corrupt.xhtml: not unpacked: its compressed data is "
                                     "damaged or cut short\n"});
  EXPECT_EQ(fileManager_.shown(), QStringList{FileUri(UnpackBase() / "Alice")});
}

TEST_F(ExplorerCommands, TheFolderIsNamedAfterTheBookWithoutItsLastExtension) {
  const std::pair<const char*, fs::path> books[] = {
      {"my.book.final.epub", UnpackBase() / "my.book.final"},
      {"plain", UnpackBase() / "plain"},
      {".epub", UnpackBase()},  // no name: the entries go directly into the folder
  };
  for (const auto& [name, folder] : books) {
    const fs::path book = temp_ / "My Books" / name;
    builder_.WriteTo(book);
    SelectBook(book);
    Unpack();
    EXPECT_TRUE(fs::is_regular_file(folder / "META-INF" / "container.xml")) << name;
  }
}

TEST_F(ExplorerCommands, ABookWhosePackageDoesNotReadIsNotUnpacked) {
  const fs::path broken = temp_ / "My Books" / "Broken.epub";
  EpubBuilder().ReplaceEntry("META-INF/container.xml", "<container").WriteTo(broken);
  SelectBook(broken);
  Unpack();
  EXPECT_FALSE(fs::exists(UnpackBase() / "Broken"));
  EXPECT_TRUE(fileManager_.shown().isEmpty());
}

TEST_F(ExplorerCommands, AFolderThatCannotBeCreatedReachesTheApplicationsErrorBox) {
  fs::create_directories(UnpackBase());
  WriteFile(UnpackBase() / "Alice", "a file in the folder's place");
  SelectBook(book_);
  Unpack();
  EXPECT_EQ(messages_.errors, std::vector<std::string>{"Nem tudom a könyvtárat létrehozni : " +
                                                       (UnpackBase() / "Alice").string()});
  EXPECT_TRUE(fileManager_.shown().isEmpty());
}

TEST_F(ExplorerCommands, ALinkAtTheTargetFoldersPlaceIsNotFollowed) {
  const fs::path elsewhere = temp_ / "elsewhere";
  fs::create_directories(elsewhere);
  fs::create_directories(UnpackBase());
  fs::create_directory_symlink(elsewhere, UnpackBase() / "Alice");
  SelectBook(book_);
  Unpack();
  EXPECT_TRUE(fs::is_empty(elsewhere));
  EXPECT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(fileManager_.shown().isEmpty());
}

TEST_F(ExplorerCommands, WithoutAPrivateTemporaryFolderTheUnpackIsRefused) {
  // Someone else's link where the user's own folder belongs.
  const fs::path elsewhere = temp_ / "elsewhere";
  fs::create_directories(elsewhere);
  fs::create_directory_symlink(elsewhere, UnpackBase());
  const fs::path workingFolder = temp_ / "working";
  fs::create_directories(workingFolder);
  const fs::path previous = fs::current_path();
  fs::current_path(workingFolder);
  SelectBook(book_);
  Unpack();
  fs::current_path(previous);

  EXPECT_TRUE(fs::is_empty(elsewhere));
  EXPECT_TRUE(fs::is_empty(workingFolder)) << "nothing goes to a relative folder";
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_NE(messages_.errors[0].find("temporary folder"), std::string::npos);
  EXPECT_TRUE(fileManager_.shown().isEmpty());
}

}  // namespace
}  // namespace quill
