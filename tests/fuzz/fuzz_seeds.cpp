// Writes the seed inputs of the fuzz targets: archives and books built in
// code, each with one unusual trait the readers must handle, XML documents of
// every construct the model knows, and, when the shared real-world files are
// there, their small archives and the package documents of their books.
//
//   quillmere-fuzz-seeds OUT [CORPUS]
//
// OUT/archive feeds the directory, extraction and unpack targets, OUT/package
// the package reader, OUT/xml the XML model, OUT/registry the application
// store and OUT/desktop the desktop launchers.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "archive/unzipper.h"
#include "base/error.h"
#include "base/memory_stream.h"
#include "epub_builder.h"
#include "silent_user_messages.h"
#include "zip_writer.h"

namespace quill::fuzzing {
namespace {

namespace fs = std::filesystem;
using testing::EpubBuilder;
using testing::ZipEntry;
using testing::ZipWriter;

// Larger seeds slow every mutation down and add little coverage.
constexpr std::uintmax_t kLargestSeed = 64 * 1024;

class SeedFolders {
 public:
  explicit SeedFolders(const fs::path& out)
      : archive_(out / "archive"),
        package_(out / "package"),
        xml_(out / "xml"),
        registry_(out / "registry"),
        desktop_(out / "desktop") {
    for (const fs::path& folder : {archive_, package_, xml_, registry_, desktop_})
      fs::create_directories(folder);
  }

  void Archive(const std::string& name, const std::string& bytes) {
    testing::WriteFile(archive_ / (name + ".zip"), bytes);
  }
  // A book feeds the package reader and the archive readers alike.
  void Book(const std::string& name, const std::string& bytes) {
    testing::WriteFile(package_ / (name + ".epub"), bytes);
    testing::WriteFile(archive_ / (name + ".epub"), bytes);
  }
  // A book whose entries are stored: mutations reach its documents' text.
  void StoredBook(const std::string& name, const fs::path& book);
  void Xml(const std::string& name, const std::string& text) {
    testing::WriteFile(xml_ / (name + ".xml"), text);
  }
  void Registry(const std::string& name, const std::string& bytes) {
    testing::WriteFile(registry_ / (name + ".reg"), bytes);
  }
  void Desktop(const std::string& name, const std::string& text) {
    testing::WriteFile(desktop_ / (name + ".desktop"), text);
  }

 private:
  fs::path archive_;
  fs::path package_;
  fs::path xml_;
  fs::path registry_;
  fs::path desktop_;
};

void SeedFolders::StoredBook(const std::string& name, const fs::path& book) {
  ZipWriter stored;
  try {
    TAbUnZipper unzipper;
    unzipper.SetFileName(book);
    for (std::size_t i = 0; i < unzipper.Count(); ++i) {
      const TAbZipItem& item = unzipper.Items(i);
      MemoryStream data;
      unzipper.ExtractEntryToStream(item.fileName, data);
      ZipEntry entry;
      entry.name = item.rawName;
      entry.data = data.Bytes();
      entry.method = 0;
      entry.modified = item.DosDateTime();
      entry.flag = item.flag;
      stored.Add(std::move(entry));
    }
  } catch (const Error&) {
    return;  // not an archive that the reader opens
  }
  const std::string bytes = stored.Build();
  if (bytes.size() <= kLargestSeed) testing::WriteFile(package_ / (name + "-stored.epub"), bytes);
}

void WriteBooks(SeedFolders& seeds, const fs::path& scratch) {
  seeds.Book("plain", EpubBuilder().AddChapters(3).Build());
  seeds.Book("edited", EpubBuilder().AddChapters(3).EditChapter(1, 0x52D06DAF).Build());
  seeds.Book("root-opf", EpubBuilder().OpfPath("content.opf").AddChapters(2).Build());
  seeds.Book("no-ncx", EpubBuilder().WithNcx(false).AddChapters(2).Build());
  seeds.Book("encoded-names",
             EpubBuilder()
                 .AddChapter({"caf\xC3\xA9 1.xhtml", "Caf\xC3\xA9", "<p>x</p>", {}})
                 .NcxHref("nav/toc.ncx")
                 .Build());
  seeds.Book("deep-navmap",
             EpubBuilder()
                 .AddChapters(1)
                 .ReplaceEntry("OEBPS/toc.ncx",
                               "<ncx><navMap><navPoint><navLabel><text>A</text></navLabel>"
                               "<content src=\"Text/chapter01.xhtml#a\"/><navPoint><navLabel>"
                               "<text>B</text></navLabel><content src=\"Text/chapter01.xhtml#b\"/>"
                               "</navPoint></navPoint></navMap></ncx>")
                 .Build());
  seeds.Book("impossible-time", EpubBuilder().AddChapters(2).EditChapter(0, 0x52DF6DAF).Build());
  ZipWriter stored = EpubBuilder().AddChapters(2).ToZip();
  stored.layout().archiveComment = "made by hand";
  seeds.Book("commented", stored.Build());

  const fs::path book = scratch / "book.epub";
  for (const auto& [name, builder] :
       {std::pair{"plain", EpubBuilder().AddChapters(2)},
        std::pair{"root-opf", EpubBuilder().OpfPath("content.opf").AddChapters(1)}}) {
    builder.WriteTo(book);
    seeds.StoredBook(name, book);
  }
  fs::remove(book);
}

ZipEntry Entry(std::string name, std::string data) {
  ZipEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  return entry;
}

void WriteArchives(SeedFolders& seeds) {
  const auto one = [&](const std::string& name, ZipEntry entry) {
    ZipWriter zip;
    zip.Add(Entry("first.txt", "first"));
    zip.Add(std::move(entry));
    seeds.Archive(name, zip.Build());
  };
  ZipEntry stored = Entry("stored.txt", "stored data");
  stored.method = 0;
  one("stored", stored);
  ZipEntry zip64 = Entry("wide.txt", "wide sizes");
  zip64.zip64 = true;
  one("zip64-entry", zip64);
  ZipEntry flagged = Entry("\xC3\xA9t\xC3\xA9.xhtml", "utf-8");
  flagged.flag = 0x0800;
  one("utf8-flag", flagged);
  one("utf8-by-shape", Entry("\xC3\xA9t\xC3\xA9.xhtml", "utf-8"));
  one("cp437", Entry("\x82t\x82.xhtml", "oem"));
  ZipEntry unicodePath = Entry("x.xhtml", "unicode path");
  unicodePath.extra =
      testing::ExtraField(0x7075, std::string("\x01", 1) + std::string(4, '\0') + "\xC3\xA9.xhtml");
  one("unicode-path-field", unicodePath);
  ZipEntry nucx = Entry("y.xhtml", "nucx");
  nucx.extra =
      testing::ExtraField(0x554E, std::string("NUCX\x01\0\0\0", 8) + std::string("a\0", 2));
  one("nucx-field", nucx);
  ZipEntry encrypted = Entry("secret.txt", "secret");
  encrypted.flag = 1;
  one("encrypted", encrypted);
  ZipEntry method99 = Entry("aes.txt", "not really");
  method99.method = 99;
  one("method-99", method99);
  ZipEntry impossible = Entry("late.xhtml", "late");
  impossible.modified = testing::DosDateTime(2021, 13, 32, 25, 61, 62);
  one("impossible-time", impossible);
  ZipEntry folder = Entry("OEBPS/Images/", "");
  folder.method = 0;
  folder.externalAttributes = (040755u << 16) | 0x10;
  one("folder-entry", folder);
  ZipEntry readOnly = Entry("locked.txt", "locked");
  readOnly.externalAttributes = 0100444u << 16;
  one("read-only", readOnly);
  ZipEntry badCrc = Entry("crc.txt", "checksum");
  badCrc.crc = 0x12345678;
  one("bad-crc", badCrc);
  ZipEntry cut = Entry("cut.txt", std::string(4000, 'c'));
  cut.rawData = testing::DeflateRaw(cut.data).substr(0, 8);
  one("cut-deflate", cut);
  ZipEntry bomb = Entry("bomb.txt", std::string(1 << 20, '\0'));
  one("bomb", bomb);
  ZipEntry understated = Entry("understated.txt", std::string(1 << 16, 'u'));
  understated.uncompressedSize = 100;
  one("understated-size", understated);
  for (const char* escape : {"../escape.txt", "/absolute.txt", "C:\\drive.txt", "a/../../b.txt",
                             "a\\..\\..\\c.txt", "a//b.txt", ". ./dots.txt"}) {
    one(std::string("escape-") + std::to_string(std::hash<std::string>{}(escape) % 1000),
        Entry(escape, "out"));
  }

  ZipWriter duplicates;
  duplicates.Add(Entry("a.xhtml", "first"))
      .Add(Entry("A.xhtml", "second"))
      .Add(Entry("a.xhtml", "third"));
  seeds.Archive("duplicates", duplicates.Build());
  ZipWriter fileThenFolder;
  fileThenFolder.Add(Entry("a", "file")).Add(Entry("a/b.txt", "under a file"));
  seeds.Archive("file-then-folder", fileThenFolder.Build());

  const auto layout = [&](const std::string& name, auto change) {
    ZipWriter zip;
    zip.Add(Entry("mimetype", "application/epub+zip")).Add(Entry("OEBPS/a.xhtml", "<p/>"));
    change(zip.layout());
    seeds.Archive(name, zip.Build());
  };
  layout("zip64-end-record", [](testing::ZipLayout& l) { l.zip64 = true; });
  layout("prefixed", [](testing::ZipLayout& l) { l.prefix = "MZ" + std::string(100, 'x'); });
  layout("long-comment", [](testing::ZipLayout& l) { l.archiveComment = std::string(3000, '#'); });
  layout("comment-overstated", [](testing::ZipLayout& l) { l.commentLength = 500; });
  layout("count-overstated", [](testing::ZipLayout& l) { l.totalEntries = 0xFFFE; });
  layout("offset-wrong", [](testing::ZipLayout& l) { l.directoryOffset = 3; });
  layout("other-disk", [](testing::ZipLayout& l) { l.diskNumber = 1; });
  layout("trailing", [](testing::ZipLayout& l) { l.trailing = "trailing bytes"; });
}

void WriteXmlDocuments(SeedFolders& seeds) {
  const EpubBuilder book = EpubBuilder().AddChapters(2);
  seeds.Xml("container", book.ContainerXml());
  seeds.Xml("opf", book.OpfXml());
  seeds.Xml("ncx", book.NcxXml());
  seeds.Xml("prolog",
            "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
            "<?xml-stylesheet href=\"a.css\"?><!-- note -->\n"
            "<!DOCTYPE r [ <!ENTITY e \"x\"> <!ELEMENT r ANY> ]>\n<r a='1'/>");
  seeds.Xml("content",
            "<p:root xmlns:p=\"u\" x:y:z=\"v\"><a>A &amp;amp; B &#65;&#x42;&#X43; &foo; &lt</a>"
            "<b><![CDATA[<i>raw</i>]]></b><c><!-- c --></c><d>Hi <e>there</e> you</d>"
            "<?pi k=\"v\"?><f   \n/><g></g ></p:Root>trailing <junk");
  seeds.Xml("unknown-charset", "<?xml version=\"1.0\" encoding=\"klingon\"?><r/>");
  seeds.Xml("unclosed", "<a><b/><c>text");
  std::string deep;
  for (int i = 0; i < 900; ++i) deep += "<n>";
  seeds.Xml("deep", deep);
}

// Application stores: the list as the program writes it, every value type,
// removals, continued hex lines, a count beyond the paths, and UTF-16 text.
void WriteRegistryFiles(SeedFolders& seeds) {
  const std::string key = "[HKEY_CURRENT_USER\\Software\\Quillmere\\apppath]\n";
  const std::string header = "Windows Registry Editor Version 5.00\n\n";
  seeds.Registry("list",
                 header + key +
                     "\"Path0\"=\"/usr/bin/reader\"\n\"Path1\"=\"\"\n"
                     "\"Path2\"=\"C:\\\\Tools\\\\\\\"q\\\".exe\"\n\"Count\"=dword:00000003\n");
  seeds.Registry("types", header + key +
                              "\"Count\"=hex(b):02,00,00,00,00,00,00,00\n@=\"default\"\n"
                              "\"Path0\"=hex(2):25,00,48,00,25,00,00,00\n"
                              "\"Path1\"=hex:2f,00,62,00,\\\n  00,00\n\"Path2\"=dword:7\n");
  seeds.Registry("beyond", header + key + "\"Count\"=hex:ff,ff\n\"Path0\"=\"a\"\n\"Path0\"=-\n" +
                               "[-HKEY_CURRENT_USER\\Software\\Other]\n[Other]\n\"Keep\"=\"me\"\n");
  // Latin-1 text widened to UTF-16: "\xE1" is U+00E1.
  const std::string text = "REGEDIT4\r\n" + key + "\"Count\"=\"1\"\r\n\"Path0\"=\"\xE1\"\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : text) utf16 += std::string{c, '\0'};
  seeds.Registry("utf16", utf16);
}

// Desktop launchers: quoting and escapes of Exec, env, actions and comments.
void WriteDesktopEntries(SeedFolders& seeds) {
  seeds.Desktop("plain",
                "[Desktop Entry]\nType=Application\nName=Reader\nExec=reader %f\nIcon=reader\n");
  seeds.Desktop(
      "quoted",
      "# launcher\n[Desktop Entry]\r\nExec=env LANG=C \"/opt/my\\\\ reader/bin\" --x \\s%U\r\n"
      "Icon=/usr/share/icons/r.png\n[Desktop Action new]\nExec=other\n");
  seeds.Desktop(
      "groups",
      "[Other]\nExec=no\n[Desktop Entry]\nExec = \"a\\\"b\" \n[Desktop Entry]\nIcon=\\n\n");
}

bool HasExtension(const fs::path& path, std::initializer_list<const char*> extensions) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

// The container, package and navigation documents of a real book, and every
// other XML document in it, each up to the seed size.
void TakePackageDocuments(SeedFolders& seeds, const fs::path& book, const std::string& prefix) {
  try {
    TAbUnZipper unzipper;
    unzipper.SetFileName(book);
    for (std::size_t i = 0; i < unzipper.Count(); ++i) {
      const TAbZipItem& item = unzipper.Items(i);
      if (item.uncompressedSize > kLargestSeed ||
          !HasExtension(item.fileName, {".xml", ".opf", ".ncx"})) {
        continue;
      }
      MemoryStream stream;
      unzipper.ExtractEntryToStream(item.fileName, stream);
      seeds.Xml(prefix + "-" + std::to_string(i), stream.Bytes());
    }
  } catch (const Error&) {
    // A book that does not open gives no documents.
  }
}

int TakeCorpus(SeedFolders& seeds, const fs::path& corpus) {
  int taken = 0;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(corpus, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec) || it->path().filename().string().starts_with('.') ||
        HasExtension(it->path(), {".md", ".txt"})) {
      continue;
    }
    const fs::path relative = it->path().lexically_relative(corpus);
    std::string name = relative.string();
    std::replace(name.begin(), name.end(), '/', '_');
    const bool book = HasExtension(it->path(), {".epub"});
    if (book) TakePackageDocuments(seeds, it->path(), "corpus_" + name);
    if (it->file_size(ec) > kLargestSeed || relative.begin()->string() == "LICENSES") continue;
    const std::string bytes = testing::ReadFile(it->path());
    if (book) {
      seeds.Book("corpus_" + name, bytes);
      seeds.StoredBook("corpus_" + name, it->path());
    } else {
      seeds.Archive("corpus_" + name, bytes);
    }
    ++taken;
  }
  return taken;
}

}  // namespace
}  // namespace quill::fuzzing

int main(int argc, char** argv) {
  using namespace quill::fuzzing;
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: quillmere-fuzz-seeds OUT [CORPUS]\n";
    return 2;
  }
  SilentUserMessages silence;
  SeedFolders seeds{fs::path(argv[1])};
  WriteBooks(seeds, fs::path(argv[1]));
  WriteArchives(seeds);
  WriteXmlDocuments(seeds);
  WriteRegistryFiles(seeds);
  WriteDesktopEntries(seeds);
  if (argc == 3 && fs::is_directory(argv[2])) {
    std::cout << "Seeds from the shared files: " << TakeCorpus(seeds, argv[2]) << "\n";
  }
  return 0;
}
