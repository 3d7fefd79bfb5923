#include "epub/package_reader.h"

#include <exception>
#include <utility>

#include "archive/archive_path.h"
#include "archive/book_archive.h"
#include "archive/unzipper.h"
#include "base/text.h"
#include "base/user_messages.h"

namespace quill {
namespace {

// The box text is followed by three pairs of line feed and carriage return,
// line feed first, then the book's path.
constexpr std::string_view kMetadataReadError = "Epub Metadata Read Error\n\r\n\r\n\r";

// A file path as UTF-8 text, for the user's eyes.
std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

void TEpuB::Open(const std::filesystem::path& epubPath) { Open(BookArchive::Open(epubPath)); }

void TEpuB::Open(const std::shared_ptr<BookArchive>& archive, TocEntries toc) {
  try {
    ReadPackage(archive, toc);
  } catch (...) {
    // Whatever escapes the steps (a document that fails to parse, above
    // all) leaves a reader with nothing in it, Ok false; the user sees
    // nothing.
    Reset();
  }
}

void TEpuB::ReadPackage(const std::shared_ptr<BookArchive>& archive, TocEntries toc) {
  Reset();
  EpubPath = archive->Path();

  if (!ExtractFrom(archive, kContainerPath, EntryStream)) return;
  queries_.LoadXmlFromStream(EntryStream);
  OpfPath = ArchivePath(queries_.GetXMLValuex("rootfiles", "full-path"));
  if (OpfPath.empty()) return;

  // An OPF entry that is missing leaves the stream empty, which parses as an
  // empty document: the spine below is then empty and reading stops there.
  EntryStream.Clear();
  ExtractFrom(archive, OpfPath, EntryStream);
  queries_.LoadXmlFromStream(EntryStream);
  ReadMetadata();

  queries_.SpineIdrefList().clear();
  queries_.GetXmlSpineList();
  SpineIdrefs = queries_.SpineIdrefList();
  if (SpineIdrefs.empty()) return;

  queries_.SpineHrefList().clear();
  queries_.GetXmlManifestList();
  SpineHrefs = queries_.SpineHrefList();
  if (SpineHrefs.empty()) return;

  OpfFolder = ArchiveFolder(OpfPath);
  ReadTableOfContents(archive, toc);

  Ok = true;
  LastIndex = static_cast<int>(SpineHrefs.size()) - 1;
  CurrentIndex = 0;
}

void TEpuB::ReadTableOfContents(const std::shared_ptr<BookArchive>& archive, TocEntries toc) {
  EntryStream.Clear();
  const std::string ncxHref = ArchivePath(queries_.GetNcxPath());
  // A spine without a "toc" names no navigation document, so no archive is
  // opened for it; the empty stream parses as an empty document, as a
  // missing NCX does.
  if (!ncxHref.empty()) {
    const std::string ncxPath = OpfFolder.empty() ? ncxHref : OpfFolder + "\\" + ncxHref;
    ExtractFrom(archive, ncxPath, EntryStream);
  }
  // A missing NCX parses as an empty document with an empty navMap; a
  // malformed one raises, and Open resets everything.
  queries_.LoadXmlFromStream(EntryStream);

  queries_.TocList().clear();
  Toc.clear();
  if (toc == TocEntries::kSkip) return;
  queries_.ReadNavMap(queries_.FindRootChild("navMap"));
  Toc.reserve(queries_.TocList().size());
  for (std::unique_ptr<TToc>& entry : queries_.TocList()) {
    std::string label = entry->NavLabel;
    Toc.push_back({std::move(label), std::move(entry)});
  }
  queries_.TocList().clear();
}

void TEpuB::Reset() {
  Ok = false;
  EpubPath.clear();
  for (std::string* field : {&Title, &Creator, &Publisher, &Language, &Subject, &Date, &Source,
                             &Description, &Identifier, &Series, &SeriesIndex, &Isbn, &Version,
                             &CoverPath, &GuideCover, &OpfPath, &OpfFolder}) {
    field->clear();
  }
  Subjects.clear();
  SpineIdrefs.clear();
  SpineHrefs.clear();
  Toc.clear();
  LastIndex = -1;
  CurrentIndex = -1;
  EntryStream.Clear();
}

void TEpuB::ReadMetadata() {
  try {
    Title = queries_.GetSectionValue("metadata", "title");
    Creator = queries_.GetSectionValue("metadata", "creator");
    Publisher = queries_.GetSectionValue("metadata", "publisher");
    Description = queries_.GetSectionValue("metadata", "description");
    Language = queries_.GetSectionValue("metadata", "language");
    Subject = queries_.GetSectionValue("metadata", "subject");
    Date = queries_.GetSectionValue("metadata", "date");
    Source = queries_.GetSectionValue("metadata", "source");
    GuideCover = queries_.GetGuideCover();
    // The package's own identifier is the one that carries an id.
    Identifier = queries_.GetSectionValueWithAttribute("metadata", "identifier", "id");
    if (Identifier.empty()) Identifier = queries_.GetSectionValue("metadata", "identifier");
    Series = queries_.GetMetaContent("calibre:series");
    SeriesIndex = queries_.GetMetaContent("calibre:series_index");
    Isbn = queries_.GetIdentifierByScheme("ISBN");
    queries_.GetSubjects(Subjects);
    Version = queries_.GetPackageVersion();
    if (queries_.HasCover()) CoverPath = queries_.GetCoverPath();
  } catch (const std::exception&) {
    ShowMessage(std::string(kMetadataReadError) + PathText(EpubPath));
  }
}

bool TEpuB::ExtractEntry(const std::filesystem::path& epubPath, std::string_view entryPath,
                         MemoryStream& stream) {
  return ExtractFrom(BookArchive::Open(epubPath), entryPath, stream);
}

bool TEpuB::ExtractFrom(const std::shared_ptr<BookArchive>& archive, std::string_view entryPath,
                        MemoryStream& stream) {
  try {
    // Each extraction opens the archive anew as far as anyone can see: an
    // archive that cannot be read is reported every time.
    TAbUnZipper unzipper;
    unzipper.SetArchive(archive);
    for (std::size_t i = 0; i < unzipper.Count(); ++i) {
      if (!IsArchivePath(unzipper.Items(i).fileName, entryPath)) continue;
      // The entry found, not the latest one whose name differs only in case.
      unzipper.ExtractItemToStream(i, stream);
      stream.SetPosition(0);
      return true;
    }
    return false;
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
    return false;
  }
}

}  // namespace quill
