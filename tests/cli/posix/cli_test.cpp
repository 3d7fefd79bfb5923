#include <zlib.h>

#include <gtest/gtest.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "epub_builder.h"
#include "json_value.h"
#include "scoped_environment.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::EpubBuilder;
using testing::JsonValue;
using testing::Lines;
using testing::RunCli;

const std::uint32_t kProduced = DosDateTime(2021, 6, 15, 10, 0, 0);
const std::uint32_t kEditedDaysLater = DosDateTime(2021, 6, 20, 8, 30, 0);
const std::uint32_t kEditedMinutesLater = DosDateTime(2021, 6, 15, 10, 40, 0);

std::vector<std::string> Sorted(std::vector<std::string> items) {
  std::sort(items.begin(), items.end());
  return items;
}

// A small library: books edited days or minutes after production, untouched
// books, a file that only looks like a book, one level of subfolders.
class CliTest : public ::testing::Test {
 protected:
  CliTest() {
    edited_ = Write("edited.epub", kEditedDaysLater);
    oddName_ = Write("Quote \"and\" tab\tname é.epub", kEditedDaysLater);
    untouched_ = Write("untouched.epub", kProduced);
    deep_ = Write("sub/deep.epub", kEditedDaysLater);
    minutes_ = Write("sub/minutes.epub", kEditedMinutesLater);
    testing::WriteFile(library() / "not-a-book.epub", "plain text");
  }

  fs::path library() const { return dir_ / "library"; }

  std::string Write(const std::string& name, std::uint32_t chapterTime) {
    const fs::path path = library() / name;
    fs::create_directories(path.parent_path());
    EpubBuilder()
        .Title("Book " + name)
        .Modified(kProduced)
        .AddChapters(3)
        .EditChapter(0, chapterTime)
        .WriteTo(path);
    return path.string();
  }

  testing::TempDir dir_;
  std::string edited_, oddName_, untouched_, deep_, minutes_;
};

TEST_F(CliTest, ScanListsWhatTheAddCommandsWould) {
  const auto flat = RunCli({"scan", library().string()});
  EXPECT_EQ(flat.status, 1);
  EXPECT_EQ(Sorted(Lines(flat.out)), Sorted({edited_, oddName_}));
  EXPECT_EQ(flat.err, "");  // no progress line when standard error is a file

  const auto deep = RunCli({"scan", "--subfolders", library().string()});
  EXPECT_EQ(deep.status, 1);
  EXPECT_EQ(Sorted(Lines(deep.out)), Sorted({edited_, oddName_, deep_}));

  const auto minutes = RunCli({"scan", "--resolution", "min", "--subfolders", library().string()});
  EXPECT_EQ(Sorted(Lines(minutes.out)), Sorted({edited_, oddName_, deep_, minutes_}));
  const auto hours = RunCli({"scan", "--resolution=hour", library().string() + "/sub"});
  EXPECT_EQ(Lines(hours.out), std::vector<std::string>{deep_});

  // Files are candidates in the order given; what is no archive is skipped silently.
  const auto files =
      RunCli({"scan", deep_, (library() / "not-a-book.epub").string(), untouched_, edited_});
  EXPECT_EQ(files.status, 1);
  EXPECT_EQ(Lines(files.out), (std::vector<std::string>{deep_, edited_}));
  EXPECT_EQ(files.err, "");
}

TEST_F(CliTest, ScanWritesTsvAndValidJson) {
  const auto tsv = RunCli({"scan", "--format", "tsv", edited_, oddName_});
  EXPECT_EQ(Lines(tsv.out), (std::vector<std::string>{
                                "edited.epub\t" + edited_,
                                "Quote \"and\" tab\\tname é.epub\t" +
                                    (library() / "Quote \"and\" tab\\tname é.epub").string()}));

  const auto json = RunCli({"scan", "--format", "json", "--subfolders", library().string()});
  EXPECT_EQ(json.status, 1);
  const JsonValue books = JsonValue::Parse(json.out);
  std::vector<std::string> paths;
  for (const JsonValue& book : books.Array()) {
    EXPECT_EQ(book.Keys(), (std::vector<std::string>{"name", "path"}));
    EXPECT_EQ(fs::path(book["path"].String()).filename().string(), book["name"].String());
    paths.push_back(book["path"].String());
  }
  EXPECT_EQ(Sorted(paths), Sorted({edited_, oddName_, deep_}));

  // A name that is no UTF-8 (any bytes are allowed here) still gives valid JSON.
  const std::string badBytes = Write("bad\xFF name.epub", kEditedDaysLater);
  const JsonValue bad = JsonValue::Parse(RunCli({"scan", "--format", "json", badBytes}).out);
  ASSERT_EQ(bad.Size(), 1u);
  EXPECT_EQ(bad[0]["name"].String(), "bad\uFFFD name.epub");

  const auto none = RunCli({"scan", "--format", "json", untouched_});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(JsonValue::Parse(none.out).Size(), 0u);
}

TEST_F(CliTest, ExplainSaysWhichDocumentDiffersFromWhich) {
  EpubBuilder lost;  // a package whose spine names nothing in the archive
  lost.AddChapters(1).ReplaceEntry("OEBPS/content.opf",
                                   "<package><manifest><item id=\"a\" href=\"gone.xhtml\"/>"
                                   "</manifest><spine><itemref idref=\"a\"/></spine></package>");
  lost.WriteTo(dir_ / "lost.epub");

  const auto run =
      RunCli({"scan", "--format", "json", "--explain", edited_, (dir_ / "lost.epub").string()});
  const JsonValue books = JsonValue::Parse(run.out);
  ASSERT_EQ(books.Size(), 2u);
  const JsonValue& reason = books[0]["reason"];
  EXPECT_EQ(reason["kind"].String(), "documentDiffers");
  EXPECT_EQ(reason["document"].String(), "OEBPS/Text/chapter01.xhtml");
  EXPECT_EQ(reason["modified"].String(), "2021-06-20T08:30:00");
  EXPECT_EQ(reason["referenceDocument"].String(), "OEBPS/Text/chapter03.xhtml");
  EXPECT_EQ(reason["referenceModified"].String(), "2021-06-15T10:00:00");
  EXPECT_EQ(books[1]["reason"]["kind"].String(), "noSpineDocument");

  EXPECT_EQ(reason["commonModified"].String(), "2021-06-15T10:00:00");
  ASSERT_EQ(reason["oddDocuments"].Size(), 1u);
  EXPECT_EQ(reason["oddDocuments"][0]["name"].String(), "OEBPS/Text/chapter01.xhtml");
  EXPECT_FALSE(reason["referenceIsOdd"].Bool());

  const auto text = RunCli({"scan", "--explain", edited_});
  EXPECT_EQ(text.out, edited_ +
                          "\tOEBPS/Text/chapter01.xhtml (2021-06-20T08:30:00) differs from "
                          "most spine documents (2021-06-15T10:00:00)\n");
}

TEST_F(CliTest, ScanExitStatuses) {
  EXPECT_EQ(RunCli({"scan", untouched_}).status, 0);
  EXPECT_EQ(RunCli({"scan", (library() / "not-a-book.epub").string()}).status, 0);

  for (const std::vector<std::string>& usage : {std::vector<std::string>{"scan"},
                                                {"scan", "--resolution", "week", edited_},
                                                {"scan", "--format", "xml", edited_},
                                                {"scan", "--fast", edited_},
                                                {"scan", "--subfolders=1"},
                                                {"frobnicate"},
                                                {}}) {
    const auto run = RunCli(usage);
    EXPECT_EQ(run.status, 2) << ::testing::PrintToString(usage);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("quillmere-cli: ", 0) == 0 || run.err.rfind("usage: ", 0) == 0, true)
        << run.err;
  }
}

TEST_F(CliTest, HelpForEachCommandAndTheVersion) {
  for (const std::string command : {"scan", "view", "info", "unpack"}) {
    const auto help = RunCli({command, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: quillmere-cli " + command, 0), 0u) << help.out;
  }
  // The overview names every option of scan.
  EXPECT_NE(RunCli({"--help"}).out.find("[--jobs N]"), std::string::npos);
  const auto version = RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("quillmere-cli ", 0), 0u);
}

TEST_F(CliTest, ViewListsTheContentDocumentsAsStored) {
  testing::ZipWriter zip;
  zip.Add("mimetype", "application/epub+zip", kProduced);
  testing::ZipEntry stored;
  stored.name = "OEBPS/a.xhtml";
  stored.data = "<html>stored</html>";
  stored.method = 0;
  stored.modified = kEditedDaysLater;
  zip.Add(stored);
  zip.Add("OEBPS/style.css", "body {}", kProduced);
  zip.Add("OEBPS/B.HTM", std::string(3000, 'x'), DosDateTime(2021, 6, 15, 0, 0, 0));
  zip.layout().archiveComment = "Archive note";
  zip.WriteTo(dir_ / "view.epub");

  const auto run = RunCli({"view", "--format", "json", (dir_ / "view.epub").string()});
  EXPECT_EQ(run.status, 0);
  const JsonValue view = JsonValue::Parse(run.out);
  EXPECT_EQ(view.Keys(), (std::vector<std::string>{"path", "comment", "entries", "error"}));
  EXPECT_EQ(view["path"].String(), (dir_ / "view.epub").string());
  EXPECT_EQ(view["comment"].String(), "Archive note");
  EXPECT_TRUE(view["error"].IsNull());
  const JsonValue& entries = view["entries"];
  ASSERT_EQ(entries.Size(), 2u);
  const JsonValue& a = entries[0];
  EXPECT_EQ(a.Keys(), (std::vector<std::string>{"name", "modified", "compressedSize",
                                                "uncompressedSize", "crc32", "compressionMethod"}));
  EXPECT_EQ(a["name"].String(), "OEBPS/a.xhtml");
  EXPECT_EQ(a["modified"].String(), "2021-06-20T08:30:00");
  EXPECT_EQ(a["compressedSize"].Number(), 19);
  EXPECT_EQ(a["uncompressedSize"].Number(), 19);
  EXPECT_EQ(a["crc32"].Number(), crc32(0, reinterpret_cast<const Bytef*>(stored.data.data()), 19));
  EXPECT_EQ(a["compressionMethod"].Number(), 0);
  EXPECT_EQ(entries[1]["name"].String(), "OEBPS/B.HTM");
  EXPECT_EQ(entries[1]["modified"].String(), "2021-06-15T00:00:00");
  EXPECT_EQ(entries[1]["uncompressedSize"].Number(), 3000);
  EXPECT_LT(entries[1]["compressedSize"].Number(), 3000);
  EXPECT_EQ(entries[1]["compressionMethod"].Number(), 8);

  const std::vector<std::string> text = Lines(RunCli({"view", (dir_ / "view.epub").string()}).out);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0], "OEBPS/a.xhtml\t2021-06-20T08:30:00\t19 bytes\t19 bytes\t" +
                         std::to_string(static_cast<std::uint32_t>(a["crc32"].Number())) + "\t0");
  EXPECT_EQ(text[2], "Comment: Archive note");
}

TEST_F(CliTest, ViewKeepsTheEntriesBeforeAFailure) {
  testing::ZipWriter zip;
  zip.Add("c1.xhtml", "one", kProduced);
  zip.Add("c2.xhtml", "two", DosDateTime(2021, 0, 15, 10, 0, 0));  // month 0
  zip.Add("c3.xhtml", "three", kProduced);
  zip.WriteTo(dir_ / "broken.epub");

  const auto run = RunCli({"view", "--format", "json", (dir_ / "broken.epub").string()});
  EXPECT_EQ(run.status, 1);
  const JsonValue view = JsonValue::Parse(run.out);
  ASSERT_EQ(view["entries"].Size(), 2u);
  EXPECT_EQ(view["entries"][0].Size(), 6u);
  EXPECT_EQ(view["entries"][1].Keys(), std::vector<std::string>{"name"});
  EXPECT_EQ(view["entries"][1]["name"].String(), "c2.xhtml");
  EXPECT_EQ(view["error"]["kind"].String(), "EConvertError");
  EXPECT_EQ(view["error"]["message"].String(), "Invalid argument to date encode");
  EXPECT_EQ(run.err, "quillmere-cli: " + (dir_ / "broken.epub").string() +
                         ": EConvertError: Invalid argument to date encode\n");
  const auto text = RunCli({"view", (dir_ / "broken.epub").string()});
  EXPECT_EQ(text.status, 1);
  EXPECT_EQ(text.out, "") << "a listing cut short is not printed as if whole";

  EXPECT_EQ(RunCli({"view", (dir_ / "nowhere.epub").string()}).status, 1);
}

TEST_F(CliTest, InfoShowsThePackageReadersFields) {
  const auto run = RunCli({"info", "--format", "json", edited_});
  EXPECT_EQ(run.status, 0);
  const JsonValue info = JsonValue::Parse(run.out);
  EXPECT_EQ(info.Keys(),
            (std::vector<std::string>{
                "Ok",          "EpubPath",   "Title",       "Creator",   "Publisher",
                "Language",    "Subject",    "Date",        "Source",    "Description",
                "Identifier",  "Series",     "SeriesIndex", "Isbn",      "Subjects",
                "Version",     "CoverPath",  "GuideCover",  "OpfPath",   "OpfFolder",
                "SpineIdrefs", "SpineHrefs", "Toc",         "LastIndex", "CurrentIndex"}));
  EXPECT_TRUE(info["Ok"].Bool());
  EXPECT_EQ(info["EpubPath"].String(), edited_);
  EXPECT_EQ(info["Title"].String(), "Book edited.epub");
  EXPECT_EQ(info["Version"].String(), "2.0");
  EXPECT_EQ(info["OpfPath"].String(), "OEBPS\\content.opf");
  EXPECT_EQ(info["OpfFolder"].String(), "OEBPS");
  EXPECT_EQ(info["SpineIdrefs"].Strings(), (std::vector<std::string>{"c1", "c2", "c3"}));
  EXPECT_EQ(info["SpineHrefs"].Strings(),
            (std::vector<std::string>{"Text\\chapter01.xhtml", "Text\\chapter02.xhtml",
                                      "Text\\chapter03.xhtml"}));
  ASSERT_EQ(info["Toc"].Size(), 3u);
  EXPECT_EQ(info["Toc"][2]["NavLabel"].String(), "Chapter 3");
  EXPECT_EQ(info["Toc"][2]["ContentSrc"].String(), "Text/chapter03.xhtml");
  EXPECT_EQ(info["LastIndex"].Number(), 2);
  EXPECT_EQ(info["CurrentIndex"].Number(), 0);

  const auto text = RunCli({"info", edited_});
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("OpfFolder: OEBPS\n"), std::string::npos);

  const auto notABook =
      RunCli({"info", "--format", "json", (library() / "not-a-book.epub").string()});
  EXPECT_EQ(notABook.status, 1);
  EXPECT_FALSE(JsonValue::Parse(notABook.out)["Ok"].Bool());
  EXPECT_EQ(notABook.err.rfind("quillmere-cli: ", 0), 0u);  // the reader's own error box
}

TEST_F(CliTest, UnpackWritesTheBookIntoAFolderAndPrintsIt) {
  const auto chosen = RunCli({"unpack", edited_, "--to", (dir_ / "out").string()});
  EXPECT_EQ(chosen.status, 0);
  EXPECT_EQ(chosen.out, (dir_ / "out").string() + "\n");
  EXPECT_TRUE(fs::exists(dir_ / "out/OEBPS/Text/chapter03.xhtml"));

  const testing::ScopedEnvironment tmpdir("TMPDIR", (dir_ / "tmp").string());
  fs::create_directory(dir_ / "tmp");
  const auto temporary = RunCli({"unpack", edited_});
  EXPECT_EQ(temporary.status, 0);
  const fs::path folder = dir_ / "tmp" / ("quillmere-" + std::to_string(::getuid())) / "edited";
  EXPECT_EQ(temporary.out, folder.string() + "\n");
  EXPECT_TRUE(fs::exists(folder / "mimetype"));

  const auto notABook = RunCli({"unpack", (library() / "not-a-book.epub").string()});
  EXPECT_EQ(notABook.status, 1);
  EXPECT_EQ(notABook.out, "");
  EXPECT_EQ(RunCli({"unpack"}).status, 2);
}

// The sample-library generator's edited books are exactly what a scan lists,
// at every resolution, and no scan changes a byte or a time of any book.
TEST(CliGeneratedLibrary, ScansListTheEditedBooksAndLeaveEveryBookAsItWas) {
  const testing::TempDir dir;
  const fs::path library = dir / "library";
  const auto generated = testing::RunProgram(
      QUILLMERE_SAMPLE_LIBRARY, {"--books", "30", "--edited", "30", "--chapters", "6", "--seed",
                                 "5", "--print-edited", library.string()});
  ASSERT_EQ(generated.status, 0) << generated.err;
  const std::vector<std::string> edited = Sorted(Lines(generated.out));
  ASSERT_FALSE(edited.empty());

  std::map<fs::path, std::pair<std::string, fs::file_time_type>> before;
  for (const auto& entry : fs::recursive_directory_iterator(library)) {
    if (entry.is_regular_file()) {
      before[entry.path()] = {testing::ReadFile(entry.path()), entry.last_write_time()};
    }
  }
  for (const std::string resolution : {"day", "hour", "min", "sec", "full"}) {
    const auto scan =
        RunCli({"scan", "--subfolders", "--resolution", resolution, library.string()});
    EXPECT_EQ(scan.status, 1);
    EXPECT_EQ(Sorted(Lines(scan.out)), edited) << resolution;
  }
  const auto flat = RunCli({"scan", library.string()});
  for (const std::string& path : Lines(flat.out)) {
    EXPECT_EQ(fs::path(path).parent_path(), library);
  }
  for (const auto& [path, state] : before) {
    EXPECT_EQ(testing::ReadFile(path), state.first) << path;
    EXPECT_EQ(fs::last_write_time(path), state.second) << path;
  }
}

// Books examined on several threads give exactly what one thread gives: the
// same lines in the same order, the same messages in the same order on
// standard error, the same exit status, whatever the books are: edited,
// untouched, broken, unreadable, with a package that shows messages.
TEST(CliGeneratedLibrary, EveryJobCountGivesTheOutputOfOne) {
  const testing::TempDir dir;
  const fs::path library = dir / "library";
  ASSERT_EQ(testing::RunProgram(QUILLMERE_SAMPLE_LIBRARY,
                                {"--books", "60", "--edited", "30", "--chapters", "4", "--seed",
                                 "11", library.string()})
                .status,
            0);
  for (int i = 0; i < 6; ++i) {
    const fs::path folder = library / ("odd" + std::to_string(i));
    fs::create_directories(folder);
    testing::WriteFile(folder / "cut.epub", EpubBuilder().AddChapters(2).Build().substr(40));
    testing::WriteFile(folder / "text.epub", "no archive at all");
    // A directory entry that is not where the end record says: each package
    // reading shows the extractor's error.
    testing::ZipWriter broken;
    broken.Add("META-INF/container.xml", "<container/>");
    broken.layout().directoryOffset = 3;
    broken.WriteTo(folder / "broken.epub");
    EpubBuilder().AddChapters(2).WriteTo(folder / "unreadable.epub");
    fs::permissions(folder / "unreadable.epub", fs::perms::none);
  }
  for (const std::string format : {"text", "json"}) {
    const auto one = RunCli(
        {"scan", "--subfolders", "--explain", "--format", format, "--jobs", "1", library.string()});
    ASSERT_FALSE(one.err.empty());
    for (const std::string jobs : {"2", "5"}) {
      const auto many = RunCli({"scan", "--subfolders", "--explain", "--format", format, "--jobs",
                                jobs, library.string()});
      EXPECT_EQ(many.out, one.out) << format << jobs;
      EXPECT_EQ(many.err, one.err) << format << jobs;
      EXPECT_EQ(many.status, one.status) << format << jobs;
    }
  }
  EXPECT_EQ(RunCli({"scan", "--jobs", "0", library.string()}).status, 2);
}

// A list of paths, from a file or from find -print0 on standard input, gives
// what the same paths give as arguments: the same lines in the same order,
// the same messages, the same exit status; a folder's books found by find
// are the books its search lists.
TEST(CliGeneratedLibrary, PathsFromAListAreScannedAsGiven) {
  const testing::TempDir dir;
  const fs::path library = dir / "library";
  ASSERT_EQ(testing::RunProgram(QUILLMERE_SAMPLE_LIBRARY,
                                {"--books", "40", "--edited", "30", "--chapters", "3", "--seed",
                                 "5", library.string()})
                .status,
            0);
  testing::WriteFile(library / "text.epub", "no archive at all");
  std::vector<std::string> paths = {(dir / "missing.epub").string(), library.string()};
  for (const auto& entry : fs::recursive_directory_iterator(library)) {
    if (entry.path().extension() == ".epub") paths.push_back(entry.path().string());
  }
  std::string list;
  for (const std::string& path : paths) list += path + "\n\n";  // blank lines name nothing
  testing::WriteFile(dir / "list.txt", list);
  std::vector<std::string> arguments = {"scan", "--explain"};
  arguments.insert(arguments.end(), paths.begin(), paths.end());
  const auto given = RunCli(arguments);
  const auto listed = RunCli({"scan", "--explain", "--files-from", (dir / "list.txt").string()});
  EXPECT_EQ(listed.out, given.out);
  EXPECT_EQ(listed.err, given.err);
  EXPECT_EQ(listed.status, given.status);
  EXPECT_EQ(given.status, 2);  // the missing path

  const auto found = testing::RunProgram(
      "/bin/sh", {"-c", "find \"$0\" -name '*.epub' -print0 | \"$1\" scan --null --files-from -",
                  library.string(), QUILLMERE_CLI});
  const auto searched = RunCli({"scan", "--subfolders", library.string()});
  std::vector<std::string> foundBooks;
  std::istringstream in(found.out);
  for (std::string book; std::getline(in, book, '\0');) foundBooks.push_back(book);
  EXPECT_EQ(Sorted(foundBooks), Sorted(Lines(searched.out)));
  EXPECT_FALSE(foundBooks.empty());
  EXPECT_EQ(found.status, searched.status);
  EXPECT_EQ(RunCli({"scan", "--files-from", (dir / "absent.txt").string()}).status, 2);
}

}  // namespace
}  // namespace quill
