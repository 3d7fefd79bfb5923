// What the command-line program tells, end to end: exit status, standard
// error lines and the bytes on standard output, for unpacks that leave
// entries out, scans that meet what they cannot read, terminals and pipes.

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "epub_builder.h"
#include "json_value.h"
#include "program_session.h"
#include "scoped_environment.h"
#include "temp_dir.h"
#include "too_long_path.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::EpubBuilder;
using testing::Lines;
using testing::RunCli;
using testing::RunCliIn;
using testing::SessionSetup;
using testing::ZipEntry;

const std::uint32_t kProduced = DosDateTime(2021, 6, 15, 10, 0, 0);
const std::uint32_t kEdited = DosDateTime(2021, 6, 20, 8, 30, 0);

std::set<std::string> LineSet(const std::string& text) {
  const std::vector<std::string> lines = Lines(text);
  return {lines.begin(), lines.end()};
}

std::string Prefixed(const fs::path& subject, const std::string& message) {
  return "quillmere-cli: " + subject.string() + ": " + message;
}

ZipEntry Entry(std::string name, std::string data) {
  ZipEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  return entry;
}

class CliReportsTest : public ::testing::Test {
 protected:
  // A book of three chapters, the first one edited when asked.
  fs::path Book(const std::string& name, bool edited = true) {
    const fs::path path = dir_ / name;
    fs::create_directories(path.parent_path());
    EpubBuilder().AddChapters(3).EditChapter(0, edited ? kEdited : kProduced).WriteTo(path);
    return path;
  }

  // Hands the test folder to an unprivileged user, who may read and search it.
  void OpenTo(uid_t user) {
    for (const auto& item : fs::recursive_directory_iterator(dir_.path())) {
      ::lchown(item.path().c_str(), user, user);
    }
    ::chown(dir_.path().c_str(), user, user);
    fs::permissions(dir_.path(), fs::perms::all);
  }

  testing::TempDir dir_;
};

TEST_F(CliReportsTest, UnpackTellsEachEntryLeftOutOrCorruptAndExitsOne) {
  ZipEntry corrupt = Entry("OEBPS/corrupt.xhtml", "new");
  corrupt.rawData = "\xFF\xFF\xFF";
  ZipEntry method99 = Entry("OEBPS/method99.xhtml", "new");
  method99.method = 99;
  ZipEntry badCrc = Entry("OEBPS/badcrc.xhtml", "kept");
  badCrc.crc = 1;
  ZipEntry encrypted = Entry("OEBPS/secret.xhtml", "x");
  encrypted.flag = 1;
  const fs::path book = dir_ / "damaged.epub";
  EpubBuilder()
      .AddChapters(1)
      .ToZip()
      .Add(corrupt)
      .Add(method99)
      .Add(badCrc)
      .Add(encrypted)
      .Add(Entry("../escape.txt", "evil"))
      .WriteTo(book);

  const fs::path out = dir_ / "out";
  const auto run = RunCli({"unpack", book.string(), "--to", out.string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, out.string() + "\n");  // the folder holds what did arrive
  EXPECT_EQ(Lines(run.err),
            (std::vector<std::string>{
                Prefixed(book,
                         "OEBPS/corrupt.xhtml: not unpacked: its compressed data is damaged "
                         "or cut short"),
                Prefixed(book,
                         "OEBPS/method99.xhtml: not unpacked: its compression method 99 is "
                         "not supported"),
                Prefixed(book,
                         "OEBPS/badcrc.xhtml: unpacked, but its data does not match its "
                         "stored CRC-32"),
                Prefixed(book, "OEBPS/secret.xhtml: not unpacked: it is encrypted"),
                Prefixed(book, "../escape.txt: not unpacked: its name holds a \"..\" segment")}));
  EXPECT_EQ(testing::ReadFile(out / "OEBPS/badcrc.xhtml"), "kept");
  EXPECT_TRUE(fs::exists(out / "OEBPS/Text/chapter01.xhtml"));
  EXPECT_FALSE(fs::exists(out / "OEBPS/corrupt.xhtml"));
}

TEST_F(CliReportsTest, UnpackGoesOnPastWhatItCannotWriteAndNeverWritesTheBook) {
  const fs::path book = dir_ / "book.epub";
  EpubBuilder()
      .AddChapters(1)
      .ToZip()
      .Add(Entry("book.epub", "the book's own name"))
      .Add(Entry("OEBPS/f2", "a file"))
      .Add(Entry("OEBPS/f2/inner.txt", "below it"))
      .Add(Entry("OEBPS/later.txt", "later"))
      .WriteTo(book);
  const std::string bytes = testing::ReadFile(book);

  const auto run = RunCli({"unpack", book.string(), "--to", dir_.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, dir_.path().string() + "\n");
  EXPECT_EQ(Lines(run.err),
            (std::vector<std::string>{
                Prefixed(book, "book.epub: not unpacked: it would replace the book being unpacked"),
                Prefixed(book,
                         "OEBPS/f2/inner.txt: not unpacked: a folder on its path cannot be "
                         "created: Invalid file name - " +
                             (dir_ / "OEBPS/f2").string())}));
  EXPECT_EQ(testing::ReadFile(book), bytes);
  EXPECT_EQ(testing::ReadFile(dir_ / "OEBPS/later.txt"), "later");
}

TEST_F(CliReportsTest, UnpackCountsFilesOfAnEarlierUnpackAndNamesAnUnusableTemporaryFolder) {
  const fs::path book = Book("book.epub");
  const fs::path out = dir_ / "out";
  fs::create_directories(out / "OEBPS");
  testing::WriteFile(out / "OEBPS/old.xhtml", "earlier");
  const auto run = RunCli({"unpack", book.string(), "--to", out.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, Prefixed(book,
                              "the folder also holds 1 file that is not in this book, left by an "
                              "earlier unpack: OEBPS/old.xhtml\n"));
  EXPECT_EQ(testing::ReadFile(out / "OEBPS/old.xhtml"), "earlier");

  const testing::ScopedEnvironment tmpdir("TMPDIR", dir_.path().string());
  const fs::path place = dir_ / ("quillmere-" + std::to_string(::getuid()));
  fs::create_directory_symlink(out, place);
  const auto refused = RunCli({"unpack", book.string()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "quillmere-cli: no private temporary folder is available at " +
                             place.string() +
                             " (it must be a folder of your own, not a link); choose one with "
                             "--to\n");
}

TEST_F(CliReportsTest, UnpackFollowsALinkTheUserNamesAndSaysWhenNothingWasWritten) {
  const fs::path book = Book("book.epub");
  fs::create_directories(dir_ / "real");
  fs::create_directory_symlink(dir_ / "real", dir_ / "link");
  const auto linked = RunCli({"unpack", book.string(), "--to", (dir_ / "link").string()});
  EXPECT_EQ(linked.status, 0) << linked.err;
  EXPECT_EQ(linked.err, "");
  EXPECT_TRUE(fs::exists(dir_ / "real/OEBPS/Text/chapter01.xhtml"));

  const std::optional<uid_t> user = testing::UnprivilegedUser();
  if (!user) GTEST_SKIP() << testing::kNoUnprivilegedUser;
  fs::create_directories(dir_ / "locked");
  OpenTo(*user);
  fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  const auto locked = RunCliIn(SessionSetup::As(*user),
                               {"unpack", book.string(), "--to", (dir_ / "locked").string()});
  EXPECT_EQ(locked.status, 1);
  EXPECT_EQ(locked.out, "");
  EXPECT_EQ(Lines(locked.err).back(),
            Prefixed(book, "Nothing unpacked into " + (dir_ / "locked").string()));
}

TEST_F(CliReportsTest, ViewInfoAndUnpackRefuseWhatIsNoRegularFileWithOneLine) {
  ASSERT_EQ(::mkfifo((dir_ / "pipe.epub").c_str(), 0600), 0);
  fs::create_directories(dir_ / "folder.epub");
  const fs::path missing = dir_ / "missing.epub";
  struct Case {
    fs::path book;
    std::string message;
  };
  for (const Case& c : {Case{dir_ / "pipe.epub", "is a pipe, not a regular file"},
                        Case{dir_ / "folder.epub", "is a folder, not a file"},
                        Case{missing, "No such file or directory"}}) {
    for (const std::string command : {"view", "info", "unpack"}) {
      const auto run = RunCli({command, c.book.string()});
      EXPECT_EQ(run.status, 1) << command << " " << c.book;
      EXPECT_EQ(run.out, "") << command << " " << c.book;
      EXPECT_EQ(run.err, Prefixed(c.book, c.message) + "\n") << command;
    }
  }
  // A package that does not read: no empty record, but why.
  testing::ZipWriter().Add(Entry("OEBPS/a.xhtml", "a")).WriteTo(dir_ / "plain.epub");
  const auto info = RunCli({"info", (dir_ / "plain.epub").string()});
  EXPECT_EQ(info.status, 1);
  EXPECT_EQ(info.out, "");
  EXPECT_EQ(Lines(info.err).back(), Prefixed(dir_ / "plain.epub", "the package cannot be read"));
}

TEST_F(CliReportsTest, ScanTellsWhatItCouldNotReadScansTheRestAndExitsTwo) {
  const fs::path edited = Book("library/edited.epub");
  const fs::path unreadable = Book("library/unreadable.epub");
  const fs::path hidden = Book("library/closed/hidden.epub");
  const fs::path missing = dir_ / "missing";
  const auto partly = RunCli({"scan", missing.string(), edited.string()});
  EXPECT_EQ(partly.status, 2);
  EXPECT_EQ(partly.out, edited.string() + "\n");
  EXPECT_EQ(partly.err, Prefixed(missing, "no such file or folder") + "\n");

  const std::optional<uid_t> user = testing::UnprivilegedUser();
  if (!user) GTEST_SKIP() << testing::kNoUnprivilegedUser;
  OpenTo(*user);
  fs::permissions(unreadable, fs::perms::none);
  fs::permissions(dir_ / "library/closed", fs::perms::none);
  const auto run =
      RunCliIn(SessionSetup::As(*user), {"scan", "--subfolders", (dir_ / "library").string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, edited.string() + "\n");
  EXPECT_EQ(LineSet(run.err),
            (std::set<std::string>{Prefixed(unreadable, "Permission denied"),
                                   Prefixed(hidden.parent_path(), "Permission denied")}));
}

TEST_F(CliReportsTest, ScanTellsAFolderItCannotOpenAndSearchesItsSiblings) {
  const fs::path before = Book("library/a/edited.epub");
  const testing::TooLongFolderChain chain(dir_ / "library/b");
  const fs::path after = Book("library/c/edited.epub");
  const auto run = RunCli({"scan", "--subfolders", (dir_ / "library").string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(LineSet(run.out), (std::set<std::string>{before.string(), after.string()}));
  EXPECT_EQ(run.err, Prefixed(chain.firstTooLong(), "File name too long") + "\n");
}

// With few file handles, books that cannot be opened are told with the
// system's reason, never taken for files that hold no archive.
TEST_F(CliReportsTest, ABookThatCannotBeOpenedIsToldWithTheSystemsReason) {
#ifdef __SANITIZE_ADDRESS__
  // Their checks open handles of their own and take a refusal for a fault.
  GTEST_SKIP() << "the sanitizers need free file handles";
#endif
  std::set<std::string> books;
  for (int i = 0; i < 30; ++i)
    books.insert(Book("library/" + std::to_string(i) + ".epub").string());
  const auto run = RunCliIn(SessionSetup::WithOpenFileLimit(8),
                            {"scan", "--explain", "--jobs", "8", (dir_ / "library").string()});
  std::set<std::string> accounted;
  for (const std::string& line : Lines(run.out)) accounted.insert(line.substr(0, line.find('\t')));
  for (const std::string& book : books) {
    if (LineSet(run.err).contains(Prefixed(book, "Too many open files"))) accounted.insert(book);
  }
  EXPECT_EQ(accounted, books) << run.err;
  EXPECT_EQ(run.err.find("not a ZIP archive"), std::string::npos) << run.err;
  EXPECT_EQ(run.status, run.err.empty() ? 1 : 2);
}

TEST_F(CliReportsTest, ExplainTellsWhyFilesWereSkippedOrNotListed) {
  testing::WriteFile(dir_ / "text.epub", "plain text");
  testing::ZipWriter().Add(Entry("OEBPS/a.xhtml", "a")).WriteTo(dir_ / "nopackage.epub");
  const auto quiet = RunCli({"scan", dir_.path().string()});
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, "");
  const auto run = RunCli({"scan", "--explain", dir_.path().string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(LineSet(run.err),
            (std::set<std::string>{
                Prefixed(dir_ / "text.epub", "skipped: not a ZIP archive"),
                Prefixed(dir_ / "nopackage.epub", "not listed: the package cannot be read")}));
}

// A title, an entry name or a comment cannot forge a line or a column of
// view and info, nor act on the terminal.
TEST_F(CliReportsTest, ViewAndInfoTextShowControlCharactersEscaped) {
  const fs::path book = dir_ / "forged.epub";
  testing::ZipWriter zip = EpubBuilder().Title("Forged\nOk: false").AddChapters(1).ToZip();
  zip.Add(Entry("OEBPS/a\x1b[31m\tb\n.xhtml", "x"));
  zip.layout().archiveComment = "note\r\nEpubPath: /etc/passwd";
  zip.WriteTo(book);

  const auto info = RunCli({"info", book.string()});
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("\nTitle: Forged\\nOk: false\n"), std::string::npos) << info.out;
  const auto view = RunCli({"view", book.string()});
  EXPECT_EQ(view.status, 0) << view.err;
  const std::vector<std::string> lines = Lines(view.out);
  ASSERT_EQ(lines.size(), 3u) << view.out;
  EXPECT_EQ(lines[1].substr(0, lines[1].find('\t')), "OEBPS/a\\x1B[31m\\tb\\n.xhtml");
  EXPECT_EQ(lines[2], "Comment: note\\r\\nEpubPath: /etc/passwd");
  EXPECT_EQ((info.out + view.out).find('\x1b'), std::string::npos);
}

// Interrupted after its first message, a scan of many files stops with its
// output whole: the json array closed, the last text line ended.
TEST_F(CliReportsTest, AnInterruptedScanLeavesItsOutputWhole) {
  fs::create_directories(dir_ / "library");
  for (int i = 0; i < 2000; ++i) {
    testing::WriteFile(dir_ / "library" / ("text" + std::to_string(i) + ".epub"), "plain text");
  }
  for (int i = 0; i < 20; ++i) Book("library/edited" + std::to_string(i) + ".epub");
  const std::string library = (dir_ / "library").string();
  for (const auto& [signal, format] :
       {std::pair{SIGINT, "json"}, {SIGTERM, "json"}, {SIGHUP, "json"}, {SIGHUP, "text"}}) {
    const auto run = RunCliIn(SessionSetup::Interrupted(signal),
                              {"scan", "--explain", "--format", format, library});
    EXPECT_EQ(run.status, 130) << signal << " " << format;
    if (std::string(format) == "json") {
      EXPECT_NO_THROW(testing::JsonValue::Parse(run.out)) << signal << run.out;
    } else {
      EXPECT_TRUE(run.out.empty() || run.out.ends_with(".epub\n")) << run.out;
    }
  }
}

// A path that is not UTF-8 keeps its bytes in json, and they name the file.
TEST_F(CliReportsTest, JsonKeepsThePathBytesOfANameThatIsNotUtf8) {
  const fs::path book = Book("caf\xE9.epub");
  const auto run = RunCli({"scan", "--format", "json", book.string()});
  EXPECT_EQ(run.status, 1);
  const testing::JsonValue books = testing::JsonValue::Parse(run.out);
  const testing::JsonValue& listed = books[0];
  EXPECT_EQ(listed["path"].String(), dir_.path().string() + "/caf\uFFFD.epub");
  const std::string hex = listed["path_bytes"].String();
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  EXPECT_TRUE(fs::equivalent(fs::path(bytes), book)) << hex;
  const auto plain = RunCli({"scan", "--format", "json", Book("plain.epub").string()});
  EXPECT_FALSE(testing::JsonValue::Parse(plain.out)[0].Has("path_bytes")) << plain.out;
}

TEST_F(CliReportsTest, OutputBytesForPipesAndAFullDisk) {
  const fs::path a = Book("a\\b.epub");
  const fs::path tab = Book("tab\there.epub");
  const auto nul = RunCli({"scan", "--null", a.string(), tab.string()});
  EXPECT_EQ(nul.out, a.string() + '\0' + tab.string() + '\0');
  const auto tsv = RunCli({"scan", "--format", "tsv", a.string(), tab.string()});
  EXPECT_EQ(tsv.out, "a\\\\b.epub\t" + (dir_ / "a\\\\b.epub").string() + "\ntab\\there.epub\t" +
                         (dir_ / "tab\\there.epub").string() + "\n");
  const std::vector<std::vector<std::string>> fullDisk = {
      {"scan", a.string()}, {"--help"},         {"--version"},
      {"scan", "--help"},   {"info", "--help"}, {"unpack", "--help"}};
  for (const std::vector<std::string>& arguments : fullDisk) {
    const auto full = RunCliIn(SessionSetup::WritingTo("/dev/full"), arguments);
    EXPECT_EQ(full.status, 2) << arguments.back();
    EXPECT_EQ(full.err, "quillmere-cli: standard output: No space left on device\n");
  }
}

TEST_F(CliReportsTest, OnATerminalTheProgressLineMakesWayAndNamesCannotActOnIt) {
  const fs::path plain = Book("plain.epub");
  const fs::path odd = Book("odd\x1b[31mname.epub");
  const std::string erase = "\r\033[K";
  {
    const testing::ScopedEnvironment term("TERM", "xterm");
    const auto run = RunCliIn(SessionSetup::OnTerminal(), {"scan", plain.string(), odd.string()});
    EXPECT_EQ(run.status, 1);
    // Each book reaches a clean line: the progress line before it is erased.
    EXPECT_NE(run.out.find(erase + plain.string() + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(erase + (dir_ / "odd\\x1B[31mname.epub").string() + "\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("\x1b[31m"), std::string::npos);
    // Nothing of the progress line is left at the end.
    EXPECT_TRUE(run.out.ends_with(erase) || run.out.ends_with("\n")) << run.out;
  }
  for (const char* term : {"dumb", ""}) {
    const testing::ScopedEnvironment environment("TERM", term);
    const auto run = RunCliIn(SessionSetup::OnTerminal(), {"scan", plain.string()});
    EXPECT_EQ(run.out, plain.string() + "\n") << "TERM=" << term;
  }
}

// A name of double-width characters still leaves the progress line within the
// terminal's 80 columns, so that erasing it leaves nothing behind.
TEST_F(CliReportsTest, TheProgressLineFitsTheTerminalWithDoubleWidthNames) {
  std::string wide;
  for (int i = 0; i < 50; ++i) wide += "\xE4\xB8\x80";  // U+4E00, two columns
  const fs::path book = Book(wide + ".epub");
  const testing::ScopedEnvironment term("TERM", "xterm");
  const auto run = RunCliIn(SessionSetup::OnTerminal(), {"scan", book.string()});
  EXPECT_EQ(run.status, 1);
  int progressLines = 0;
  for (std::size_t at = 0; (at = run.out.find("\r\033[K", at)) != std::string::npos;) {
    at += 4;
    const std::string shown = run.out.substr(at, run.out.find_first_of("\r\n", at) - at);
    if (shown.empty() || run.out[at + shown.size()] == '\n') continue;  // a result line
    ++progressLines;
    std::size_t columns = 0;
    for (const char c : shown) {
      const auto byte = static_cast<unsigned char>(c);
      columns += byte == 0xE4 ? 2 : byte < 0x80 || byte >= 0xC0 ? 1 : 0;
    }
    EXPECT_LT(columns, 80u) << shown;
  }
  EXPECT_GT(progressLines, 0) << run.out;
}

// The options that --help names are the options that the manual page names.
TEST(CliManualPage, NamesTheOptionsThatHelpNames) {
  const auto options = [](const std::string& text, const std::regex& pattern) {
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it) {
      found.insert((*it)[1]);
    }
    return found;
  };
  std::string help = RunCli({"--help"}).out;
  for (const std::string command : {"scan", "view", "info", "unpack"}) {
    help += RunCli({command, "--help"}).out;
  }
  std::ifstream page(QUILLMERE_MAN_DIR "/quillmere-cli.1");
  ASSERT_TRUE(page) << "no manual page";
  const std::string manual((std::istreambuf_iterator<char>(page)), {});
  const std::set<std::string> helped = options(help, std::regex("--([a-z][a-z-]*)"));
  EXPECT_EQ(options(manual, std::regex(R"(\\-\\-([a-z][a-z-]*))")), helped);
  EXPECT_TRUE(helped.contains("null") && helped.contains("to")) << help;
}

}  // namespace
}  // namespace quill
