#include "archive/unpack_to_folder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <zlib.h>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "archive/unzipper.h"
#include "base/memory_stream.h"
#include "raised_error.h"
#include "recording_user_messages.h"
#include "temp_dir.h"
#include "zip_writer.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using testing::DosDateTime;
using testing::RaisedBy;
using testing::ReadFile;
using testing::ZipEntry;
using testing::ZipWriter;

// Runs the test in a zone with daylight saving time, so a time set as UTC
// instead of local time shows.
class LocalTimeZone {
 public:
  explicit LocalTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~LocalTimeZone() {
    if (previous_) {
      ::setenv("TZ", previous_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  std::optional<std::string> previous_;
};

struct stat StatOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

// The file's last-write time as a local MS-DOS date and time.
std::uint32_t LocalDosTimeOf(const fs::path& path) {
  const std::time_t seconds = StatOf(path).st_mtime;
  std::tm local{};
  ::localtime_r(&seconds, &local);
  return DosDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min, local.tm_sec);
}

bool IsReadOnly(const fs::path& path) { return (StatOf(path).st_mode & 0222) == 0; }

// Every file and link below the folder, as relative paths.
std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (!item.is_directory() || item.is_symlink()) {
      files.insert(fs::relative(item.path(), folder).string());
    }
  }
  return files;
}

ZipEntry Entry(std::string name, std::string data) {
  ZipEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  return entry;
}

class UnpackTest : public ::testing::Test {
 protected:
  bool Unpack(const ZipWriter& zip) {
    zip.WriteTo(book_);
    report_ = {};
    return UnpackToFolder(book_, out_, &report_);
  }

  // Each reported entry with its reason, "!" marking data written all the same.
  std::map<std::string, std::string> Reported() const {
    std::map<std::string, std::string> reported;
    for (const UnpackReport::Problem& problem : report_.problems) {
      const bool written = problem.extraction.result != EntryExtraction::Result::kLeftOut;
      reported[problem.entry] = (written ? "!" : "") + problem.extraction.reason;
    }
    return reported;
  }

  testing::TempDir dir_;
  fs::path book_ = dir_ / "book.epub";
  fs::path out_ = dir_ / "tmp" / "book";
  testing::RecordingUserMessages boxes_;
  UnpackReport report_;
};

TEST_F(UnpackTest, EveryEntryLandsUnderItsPathWithItsLocalTimeAndReadOnlyState) {
  LocalTimeZone zone("Europe/Budapest");
  const std::uint32_t summer = DosDateTime(2021, 6, 15, 13, 45, 30);
  const std::uint32_t winter = DosDateTime(2020, 1, 2, 3, 4, 6);
  ZipEntry mimetype = Entry("mimetype", "application/epub+zip");
  mimetype.method = 0;
  ZipEntry chapter = Entry("OEBPS/Text/ch1.xhtml", "<html>one</html>");
  chapter.modified = winter;
  ZipEntry images = Entry("OEBPS/Images/", "");
  images.externalAttributes = (040755u << 16) | 0x10;
  ZipEntry locked = Entry("OEBPS/locked.css", "p{}");
  locked.externalAttributes = 0100444u << 16;
  ZipEntry dosLocked = Entry("dos/locked.txt", "r");
  dosLocked.madeBy = 20;
  dosLocked.externalAttributes = 0x21;
  ZipEntry dosPlain = Entry("dos/plain.txt", "w");
  dosPlain.madeBy = 20;
  dosPlain.externalAttributes = 0x20;
  ZipEntry impossibleTime = Entry("bad-time.txt", "t");
  impossibleTime.modified = DosDateTime(2021, 2, 30, 10, 0, 0);
  impossibleTime.externalAttributes = 0100444u << 16;

  ASSERT_TRUE(Unpack(ZipWriter()
                         .Add(mimetype)
                         .Add(chapter)
                         .Add(images)
                         .Add(locked)
                         .Add(dosLocked)
                         .Add(dosPlain)
                         .Add(impossibleTime)));
  EXPECT_TRUE(boxes_.errors.empty());
  EXPECT_EQ(FilesUnder(out_),
            (std::set<std::string>{"mimetype", "OEBPS/Text/ch1.xhtml", "OEBPS/locked.css",
                                   "dos/locked.txt", "dos/plain.txt", "bad-time.txt"}));
  EXPECT_TRUE(fs::is_directory(out_ / "OEBPS" / "Images"));
  EXPECT_EQ(ReadFile(out_ / "mimetype"), "application/epub+zip");
  EXPECT_EQ(ReadFile(out_ / "OEBPS/Text/ch1.xhtml"), "<html>one</html>");

  EXPECT_EQ(LocalDosTimeOf(out_ / "mimetype"), summer);
  EXPECT_EQ(LocalDosTimeOf(out_ / "OEBPS/Text/ch1.xhtml"), winter);
  EXPECT_EQ(LocalDosTimeOf(out_ / "OEBPS/locked.css"), summer);

  EXPECT_TRUE(IsReadOnly(out_ / "OEBPS/locked.css"));
  EXPECT_TRUE(IsReadOnly(out_ / "dos/locked.txt"));
  EXPECT_FALSE(IsReadOnly(out_ / "dos/plain.txt"));
  EXPECT_FALSE(IsReadOnly(out_ / "mimetype"));
  // An impossible stored time ends the entry after its data: no time, no attributes.
  EXPECT_EQ(ReadFile(out_ / "bad-time.txt"), "t");
  EXPECT_FALSE(IsReadOnly(out_ / "bad-time.txt"));
}

TEST_F(UnpackTest, ReplacesAnEarlierCopyAndReportsEntriesThatFailToDecode) {
  ZipEntry encrypted = Entry("encrypted.txt", "new");
  encrypted.flag = 0x0001;
  ZipEntry method99 = Entry("method99.txt", "new");
  method99.method = 99;
  ZipEntry corrupt = Entry("corrupt.txt", "new");
  corrupt.rawData = "\xFF\xFF\xFF";
  ZipEntry badCrc = Entry("badcrc.txt", "new");
  badCrc.crc = 1;
  ZipEntry locked = Entry("locked.txt", "new");
  locked.externalAttributes = 0100444u << 16;
  const ZipWriter zip = ZipWriter()
                            .Add(Entry("good.txt", "new"))
                            .Add(encrypted)
                            .Add(method99)
                            .Add(corrupt)
                            .Add(badCrc)
                            .Add(locked);
  const std::set<std::string> all{"good.txt",    "encrypted.txt", "method99.txt",
                                  "corrupt.txt", "badcrc.txt",    "locked.txt"};

  ASSERT_TRUE(Unpack(zip));
  EXPECT_EQ(FilesUnder(out_), (std::set<std::string>{"good.txt", "badcrc.txt", "locked.txt"}));
  EXPECT_EQ(ReadFile(out_ / "badcrc.txt"), "new") << "a bad checksum is written all the same";
  EXPECT_EQ(Reported(),
            (std::map<std::string, std::string>{
                {"encrypted.txt", "it is encrypted"},
                {"method99.txt", "its compression method 99 is not supported"},
                {"corrupt.txt", "its compressed data is damaged or cut short"},
                {"badcrc.txt", "!unpacked, but its data does not match its stored CRC-32"}}));
  EXPECT_EQ(report_.written, 3u);

  for (const std::string& name : all) {
    fs::remove(out_ / name);
    testing::WriteFile(out_ / name, "old");
  }
  fs::permissions(out_ / "locked.txt", fs::perms::owner_read);
  ASSERT_TRUE(Unpack(zip));
  EXPECT_TRUE(boxes_.errors.empty());
  EXPECT_EQ(FilesUnder(out_),
            (std::set<std::string>{"good.txt", "encrypted.txt", "badcrc.txt", "locked.txt"}));
  EXPECT_EQ(ReadFile(out_ / "good.txt"), "new");
  EXPECT_EQ(ReadFile(out_ / "locked.txt"), "new");
  EXPECT_EQ(ReadFile(out_ / "encrypted.txt"), "old") << "data never located: the copy stays";
}

TEST_F(UnpackTest, NamesThatWouldLeaveTheFolderAreLeftOutAndReported) {
  out_ = dir_ / "a" / "b" / "out";
  ZipWriter zip;
  for (const std::string& name : std::vector<std::string>{
           "../escape1.txt", "OEBPS/../../escape2.txt", "..\\escape3.txt",
           "OEBPS\\..\\..\\escape4.txt", (dir_ / "escape5.txt").string(), "/escape6.txt",
           "C:/escape7.txt", "C:escape8.txt", "//server/share/escape9.txt",
           "OEBPS/. ./escape10.txt", "../escapedir/", std::string("nul\0byte.txt", 12),
           "OEBPS//double.txt", "OEBPS/./x/../y.txt"}) {
    zip.Add(Entry(name, "evil"));
  }
  zip.Add(Entry("OEBPS/ok.xhtml", "fine")).Add(Entry("./OEBPS/dot.xhtml", "fine too"));
  ASSERT_TRUE(Unpack(zip));
  EXPECT_TRUE(boxes_.errors.empty());
  EXPECT_EQ(FilesUnder(dir_.path()), (std::set<std::string>{"book.epub", "a/b/out/OEBPS/ok.xhtml",
                                                            "a/b/out/OEBPS/dot.xhtml"}));
  EXPECT_FALSE(fs::exists("/escape6.txt"));
  EXPECT_EQ(report_.problems.size(), 14u);
  const std::map<std::string, std::string> reasons{
      {"../escape1.txt", "its name holds a \"..\" segment"},
      {"OEBPS/./x/../y.txt", "its name holds a \"..\" segment"},
      {"/escape6.txt", "its name is absolute"},
      {"C:escape8.txt", "its name is absolute"},
      {"OEBPS//double.txt", "its name holds two separators in a row"},
      {std::string("nul\0byte.txt", 12), "its name names no file"}};
  for (const auto& [name, reason] : reasons) EXPECT_EQ(Reported()[name], reason) << name;
}

TEST_F(UnpackTest, NothingIsWrittenThroughALinkInTheFolder) {
  const fs::path outside = dir_ / "outside";
  fs::create_directories(outside);
  testing::WriteFile(outside / "victim.txt", "original");
  fs::create_directories(out_);
  fs::create_directory_symlink(outside, out_ / "OEBPS");
  fs::create_symlink(outside / "victim.txt", out_ / "mimetype");
  ZipEntry linkEntry = Entry("META-INF/link", outside.string());
  linkEntry.externalAttributes = 0120777u << 16;  // a stored symbolic link becomes a plain file

  ASSERT_TRUE(Unpack(ZipWriter()
                         .Add(Entry("mimetype", "application/epub+zip"))
                         .Add(Entry("OEBPS/victim.txt", "overwritten"))
                         .Add(Entry("OEBPS/new.xhtml", "planted"))
                         .Add(linkEntry)));
  EXPECT_EQ(FilesUnder(outside), std::set<std::string>{"victim.txt"});
  EXPECT_EQ(ReadFile(outside / "victim.txt"), "original");
  EXPECT_TRUE(fs::is_symlink(out_ / "mimetype"));
  EXPECT_FALSE(fs::is_symlink(out_ / "META-INF/link"));
  EXPECT_EQ(ReadFile(out_ / "META-INF/link"), outside.string());
  EXPECT_EQ(Reported(),
            (std::map<std::string, std::string>{{"mimetype", "a link stands in its way"},
                                                {"OEBPS/victim.txt", "a link stands in its way"},
                                                {"OEBPS/new.xhtml", "a link stands in its way"}}));
}

TEST_F(UnpackTest, AFolderThatCannotBeCreatedReachesTheCallerUnshown) {
  testing::WriteFile(dir_ / "file", "");
  out_ = dir_ / "file" / "book";
  ZipWriter().Add(Entry("a.txt", "a")).WriteTo(book_);
  EXPECT_EQ(RaisedBy([&] { UnpackToFolder(book_, out_); }),
            "Exception: Nem tudom a könyvtárat létrehozni : " + out_.string());
  EXPECT_TRUE(boxes_.errors.empty());
}

TEST_F(UnpackTest, AnArchiveThatCannotBeReadIsShownInAnErrorBoxAndAnswersFalse) {
  EXPECT_FALSE(UnpackToFolder(dir_ / "missing.epub", out_));
  testing::WriteFile(book_, "plain text");
  EXPECT_FALSE(UnpackToFolder(book_, out_));
  EXPECT_EQ(boxes_.errors, (std::vector<std::string>{"Fájl nem található", "Hibas archívumtípus"}));
}

TEST_F(UnpackTest, AnEntryThatCannotBeWrittenIsToldAndTheUnpackGoesOn) {
  fs::create_directories(out_);
  testing::WriteFile(out_ / "taken", "a file where a folder must go");
  const std::string tooLong(300, 'x');
  ZipWriter zip;
  zip.Add(Entry("OEBPS/f2", "file")).Add(Entry("OEBPS/f2/inner.txt", "below"));
  zip.Add(Entry("taken/x.txt", "x")).Add(Entry(tooLong + "/y.txt", "y")).Add(Entry(tooLong, "z"));
  for (int i = 0; i < 10; ++i) zip.Add(Entry("after" + std::to_string(i), "after"));

  ASSERT_TRUE(Unpack(zip));
  EXPECT_TRUE(boxes_.errors.empty());
  EXPECT_EQ(
      Reported(),
      (std::map<std::string, std::string>{
          {"OEBPS/f2/inner.txt", "a folder on its path cannot be created: Invalid file name - " +
                                     (out_ / "OEBPS/f2").string()},
          {"taken/x.txt", "a folder on its path cannot be created: Invalid file name - " +
                              (out_ / "taken").string()},
          {tooLong + "/y.txt", "a folder on its path cannot be created: Invalid file name - " +
                                   (out_ / tooLong).string()},
          {tooLong, "the file could not be created"}}));
  EXPECT_EQ(report_.written, 11u);
  EXPECT_EQ(ReadFile(out_ / "after9"), "after");
}

TEST_F(UnpackTest, NeitherTheBookNorAnotherNameOfItIsWritten) {
  out_ = dir_.path();  // the book's own folder
  ZipWriter zip;
  zip.Add(Entry("book.epub", "overwritten")).Add(Entry("other-name.epub", "overwritten"));
  zip.Add(Entry("mimetype", "application/epub+zip"));
  zip.WriteTo(book_);
  ASSERT_EQ(::link(book_.c_str(), (dir_ / "other-name.epub").c_str()), 0);
  const std::string bytes = ReadFile(book_);

  ASSERT_TRUE(UnpackToFolder(book_, out_, &report_));
  EXPECT_EQ(ReadFile(book_), bytes);
  EXPECT_EQ(ReadFile(dir_ / "other-name.epub"), bytes);
  EXPECT_EQ(Reported(), (std::map<std::string, std::string>{
                            {"book.epub", "it would replace the book being unpacked"},
                            {"other-name.epub", "it would replace the book being unpacked"}}));
  EXPECT_EQ(ReadFile(out_ / "mimetype"), "application/epub+zip");
}

TEST_F(UnpackTest, EntriesSharingDataAndUnpacksPastTheBoundAreLeftOut) {
  const std::string chapter(1 << 20, 'z');
  ZipWriter zip;
  zip.Add(Entry("first.bin", chapter));
  for (int i = 0; i < 3; ++i) {
    ZipEntry copy = Entry("copy" + std::to_string(i) + ".bin", chapter);
    copy.localHeaderOffset = 0;  // the first entry's header and data
    zip.Add(copy);
  }
  // Declares more than the bound allows for a book this small.
  ZipEntry huge = Entry("huge.bin", "h");
  huge.uncompressedSize = 200u << 20;
  zip.Add(huge).Add(Entry("after.txt", "after"));

  ASSERT_TRUE(Unpack(zip));
  EXPECT_EQ(FilesUnder(out_), (std::set<std::string>{"first.bin", "after.txt"}));
  const std::string shared = "its data overlaps the data of another entry";
  EXPECT_EQ(Reported(), (std::map<std::string, std::string>{
                            {"copy0.bin", shared},
                            {"copy1.bin", shared},
                            {"copy2.bin", shared},
                            {"huge.bin",
                             "the unpack would write more than 100 times the book's size and "
                             "100 MiB more"}}));
}

TEST_F(UnpackTest, ALaterEntryOfTheSameNameReplacesTheEarlierOneAndIsTold) {
  const ZipWriter zip = ZipWriter()
                            .Add(Entry("OEBPS/a.xhtml", "first"))
                            .Add(Entry("OEBPS/b.xhtml", "b"))
                            .Add(Entry("OEBPS/./a.xhtml", "second"));
  const std::map<std::string, std::string> told{
      {"OEBPS/./a.xhtml", "!unpacked over the file of an earlier entry of the same name"}};
  ASSERT_TRUE(Unpack(zip));
  EXPECT_EQ(ReadFile(out_ / "OEBPS/a.xhtml"), "second");
  EXPECT_EQ(Reported(), told);
  EXPECT_EQ(report_.written, 3u);
  ASSERT_TRUE(Unpack(zip));  // the copy of an earlier unpack is replaced silently
  EXPECT_EQ(Reported(), told);
}

TEST_F(UnpackTest, FilesInTheFolderThatTheBookDoesNotHoldAreCountedAndKept) {
  ZipEntry encrypted = Entry("OEBPS/secret.xhtml", "x");
  encrypted.flag = 1;
  const ZipWriter zip = ZipWriter().Add(Entry("OEBPS/a.xhtml", "a")).Add(encrypted);
  ASSERT_TRUE(Unpack(zip));
  EXPECT_EQ(report_.StraysText(), "");

  for (const char* name :
       {"OEBPS/secret.xhtml", "OEBPS/old/one.xhtml", "notes.txt", "b", "c", "d", "e", "f"}) {
    fs::create_directories((out_ / name).parent_path());
    testing::WriteFile(out_ / name, "earlier");
  }
  ASSERT_TRUE(Unpack(zip));
  EXPECT_EQ(report_.StraysText(),
            "the folder also holds 7 files that are not in this book, left by an earlier unpack: "
            "OEBPS/old/one.xhtml, b, c, d, e, ...");
  EXPECT_EQ(ReadFile(out_ / "notes.txt"), "earlier");
}

// Swaps each folder of the target with a link to a folder outside, and back,
// atomically, until told to stop; every folder is in its place at the end.
class FolderSwapper {
 public:
  FolderSwapper(const fs::path& target, const fs::path& outside, int folders) {
    for (int i = 0; i < folders; ++i) {
      const fs::path folder = target / ("d" + std::to_string(i));
      fs::create_directories(folder);
      fs::create_directory_symlink(outside, target / ("link" + std::to_string(i)));
      pairs_.emplace_back(folder, target / ("link" + std::to_string(i)));
    }
    thread_ = std::thread([this] {
      while (!stop_) {
        for (const auto& [folder, link] : pairs_) {
          Exchange(folder, link);
          std::this_thread::yield();
          Exchange(folder, link);
        }
      }
    });
  }
  ~FolderSwapper() {
    stop_ = true;
    thread_.join();
  }

 private:
  static void Exchange(const fs::path& a, const fs::path& b) {
    ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE);
  }

  std::vector<std::pair<fs::path, fs::path>> pairs_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

TEST_F(UnpackTest, FoldersSwappedForLinksDuringTheUnpackLeadNothingOutside) {
  const fs::path outside = dir_ / "outside";
  fs::create_directories(outside);
  ZipWriter zip;
  std::vector<std::string> names;
  for (int i = 0; i < 2000; ++i) {
    names.push_back("d" + std::to_string(i % 8) + (i % 2 == 0 ? "/sub/" : "/") + "f" +
                    std::to_string(i) + ".txt");
    ZipEntry entry = Entry(names.back(), names.back());
    entry.method = 0;
    zip.Add(entry);
  }
  zip.WriteTo(book_);
  {
    const FolderSwapper swapper(out_, outside, 8);
    ASSERT_TRUE(UnpackToFolder(book_, out_, &report_));
  }
  EXPECT_TRUE(fs::is_empty(outside));
  const std::map<std::string, std::string> told = Reported();
  for (const auto& [name, reason] : told) EXPECT_EQ(reason, "a link stands in its way") << name;
  for (const std::string& name : names) {
    if (!told.contains(name)) {
      EXPECT_EQ(ReadFile(out_ / name), name);
    }
  }
}

TEST_F(UnpackTest, TheArchiveIsOnlyRead) {
  Unpack(
      ZipWriter().Add(Entry("mimetype", "application/epub+zip")).Add(Entry("OEBPS/a.xhtml", "a")));
  fs::permissions(book_, fs::perms::owner_read);
  const std::string bytes = ReadFile(book_);
  const struct stat before = StatOf(book_);

  ASSERT_TRUE(UnpackToFolder(book_, out_));
  TAbUnZipper unzipper;
  unzipper.SetFileName(book_);
  MemoryStream stream;
  unzipper.ExtractEntryToStream("OEBPS/a.xhtml", stream);
  unzipper.SetFileName("");

  const struct stat after = StatOf(book_);
  EXPECT_EQ(ReadFile(book_), bytes);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_mode, before.st_mode);
}

// Raw Deflate of `size` zero bytes, made chunk by chunk so the test itself
// stays small in memory.
std::string DeflatedZeros(std::size_t size) {
  z_stream z{};
  deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  const std::string zeros(1 << 20, '\0');
  std::string out;
  std::string buffer(1 << 16, '\0');
  for (std::size_t left = size;;) {
    const std::size_t n = std::min(left, zeros.size());
    left -= n;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    z.avail_in = static_cast<uInt>(n);
    const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
    int result = Z_OK;
    do {
      z.next_out = reinterpret_cast<Bytef*>(buffer.data());
      z.avail_out = static_cast<uInt>(buffer.size());
      result = deflate(&z, flush);
      out.append(buffer.data(), buffer.size() - z.avail_out);
    } while (z.avail_out == 0);
    if (result == Z_STREAM_END) break;
  }
  deflateEnd(&z);
  return out;
}

std::uint32_t ZerosCrc(std::size_t size) {
  const std::string zeros(1 << 20, '\0');
  uLong crc = crc32(0, nullptr, 0);
  for (std::size_t left = size; left > 0; left -= std::min(left, zeros.size())) {
    crc = crc32(crc, reinterpret_cast<const Bytef*>(zeros.data()),
                static_cast<uInt>(std::min(left, zeros.size())));
  }
  return static_cast<std::uint32_t>(crc);
}

// The peak resident memory in KiB since the last reset (where the system
// allows resetting it).
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stol(line.substr(6));
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

int OpenDescriptorCount() {
  return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

TEST_F(UnpackTest, LargeAndHostileDataCostsBoundedMemoryAndDiskAndLeaksNoHandle) {
  constexpr std::size_t kLarge = 128u << 20;
  ZipEntry large = Entry("large.bin", "");
  large.rawData = DeflatedZeros(kLarge);
  large.uncompressedSize = kLarge;
  large.crc = ZerosCrc(kLarge);
  ZipEntry bomb = Entry("bomb.bin", "");
  bomb.rawData = large.rawData;  // a small declared size in front of 128 MiB
  bomb.uncompressedSize = 1000;
  ZipEntry broken = Entry("broken.bin", "data");
  broken.rawData = "\xFF";
  ZipWriter().Add(large).Add(bomb).Add(broken).WriteTo(book_);

  const int descriptors = OpenDescriptorCount();
  ResetPeakResident();
  const long peakBefore = PeakResidentKiB();
  ASSERT_TRUE(UnpackToFolder(book_, out_));
  EXPECT_LT(PeakResidentKiB() - peakBefore, 16 * 1024) << "KiB more at the peak";
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
  EXPECT_EQ(fs::file_size(out_ / "large.bin"), kLarge);
  EXPECT_EQ(fs::file_size(out_ / "bomb.bin"), 1000u);
  EXPECT_FALSE(fs::exists(out_ / "broken.bin"));
}

}  // namespace
}  // namespace quill
