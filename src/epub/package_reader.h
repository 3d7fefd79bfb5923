#pragma once

// The package reader: follows a book's container document to its OPF package
// document, reads the metadata, the spine and the manifest, and the NCX table
// of contents, and keeps the answers in its own fields. The archive is only
// ever read.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/memory_stream.h"
#include "epub/package_queries.h"

namespace quill {

class BookArchive;

// Reads the package of one EPUB file. A caller creates a reader per book,
// calls Open and reads Ok and the fields; Open may be called again and starts
// afresh each time. The documents go through the reader's own package queries,
// so readers on different threads never meet.
//
// After Open: Ok true means every field reflects the package; Ok false with
// EpubPath set means reading stopped early (no container document, no rootfile
// path, no spine idrefs, or no spine href that the manifest resolves) and the
// fields filled so far stay; Ok false with every field empty means an error
// (a document that failed to parse, for one) was caught and everything reset.
class TEpuB {
 public:
  // One table-of-contents entry, listed under its label.
  struct TocItem {
    std::string label;
    std::unique_ptr<TToc> entry;
  };

  // The container document's archive path.
  static constexpr std::string_view kContainerPath = "META-INF\\container.xml";

  // A new reader: empty fields and lists, Ok false, LastIndex and CurrentIndex 0.
  TEpuB() = default;
  TEpuB(const TEpuB&) = delete;
  TEpuB& operator=(const TEpuB&) = delete;

  // Reads the package of the book at epubPath into the fields. Never raises;
  // the outcome is in Ok (see the class comment). The only boxes it shows are
  // those of ExtractEntry, of ReadMetadata and of the package queries' own
  // guarded walks; a document that fails to parse is not reported.
  void Open(const std::filesystem::path& epubPath);

  // What Open takes from the NCX. A reader that only wants the spine skips
  // the entries: the NCX is still extracted and parsed, so a book reads (Ok,
  // the messages shown) exactly as with them, but Toc stays empty.
  enum class TocEntries { kGather, kSkip };

  // The same for a book archive that is already open: every document is
  // extracted through it, and EpubPath is its path. Whatever it shows or
  // answers is what Open on that path would, Toc aside with kSkip.
  void Open(const std::shared_ptr<BookArchive>& archive, TocEntries toc = TocEntries::kGather);

  // Empties every field, EpubPath included, and every list (releasing the
  // table-of-contents entries) and the stream; Ok false, LastIndex and
  // CurrentIndex -1.
  void Reset();

  // Fills the metadata fields from the OPF document in the shared document.
  // An error on the way shows "Epub Metadata Read Error" with EpubPath in a
  // message box; the fields set before it keep their values. Never raises.
  void ReadMetadata();

  // Copies the uncompressed data of the first entry whose stored name, with
  // "\" for every "/", equals entryPath exactly into the stream at its
  // position, then moves the position to 0. False, with the stream untouched,
  // when no entry matches. An error while the archive is opened, walked or
  // extracted is shown in an error box, and the result is false. The stream
  // is not emptied first.
  bool ExtractEntry(const std::filesystem::path& epubPath, std::string_view entryPath,
                    MemoryStream& stream);

  bool Ok = false;
  std::filesystem::path EpubPath;  // the path given to the last Open

  // Each metadata field holds the first matching element's value.
  std::string Title;
  std::string Creator;
  std::string Publisher;
  std::string Language;
  std::string Subject;  // the first subject; all of them are in Subjects
  std::string Date;
  std::string Source;
  std::string Description;
  std::string Identifier;
  std::string Series;
  std::string SeriesIndex;
  std::string Isbn;
  std::vector<std::string> Subjects;
  std::string Version;     // the package's "version" attribute
  std::string CoverPath;   // the cover image's href, "/" separators as written
  std::string GuideCover;  // the href of the guide's cover reference

  std::string OpfPath;                   // archive path of the OPF document, "\" separators
  std::string OpfFolder;                 // OpfPath before its last "\"; empty for a root OPF
  std::vector<std::string> SpineIdrefs;  // in spine order
  // The spine documents' hrefs in spine order, "\" separators, relative to
  // OpfFolder, otherwise as written (no decoding, no "." or ".." resolution).
  std::vector<std::string> SpineHrefs;
  std::vector<TocItem> Toc;  // the NCX's entries in navMap order

  int LastIndex = 0;     // index of the last spine href after an Open that ends with Ok
  int CurrentIndex = 0;  // 0 after an Open that ends with Ok; nothing moves it

  MemoryStream EntryStream;  // receives each package document in turn

  // The package queries with the document and lists that Open goes through.
  PackageQueries& Queries() { return queries_; }

 private:
  // The steps of Open; returns at the first stop. Errors pass to Open.
  void ReadPackage(const std::shared_ptr<BookArchive>& archive, TocEntries toc);
  // Extracts the NCX named by the OPF in the document, parses it and, unless
  // told to skip them, takes over the entries of its navMap.
  void ReadTableOfContents(const std::shared_ptr<BookArchive>& archive, TocEntries toc);
  // ExtractEntry through an open archive.
  bool ExtractFrom(const std::shared_ptr<BookArchive>& archive, std::string_view entryPath,
                   MemoryStream& stream);

  PackageQueries queries_;
};

}  // namespace quill
