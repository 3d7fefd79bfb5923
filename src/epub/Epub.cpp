#include "epub/Epub.h"

#include <exception>
#include <utility>

#include "archive/ab_unzipper.h"
#include "archive/archive_path.h"
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

void TEpuB::Open(const std::filesystem::path& epubPath) {
  try {
    ReadPackage(epubPath);
  } catch (...) {
    // Whatever escapes the steps (a document that fails to parse, above
    // all) leaves a reader with nothing in it, Ok false; the user sees
    // nothing.
    Reset();
  }
}

void TEpuB::ReadPackage(const std::filesystem::path& epubPath) {
  Reset();
  EpubPath = epubPath;

  if (!ExtractEntry(epubPath, kContainerPath, EntryStream)) return;
  LoadXmlFromStream(EntryStream);
  OpfPath = ArchivePath(GetXMLValuex("rootfiles", "full-path"));
  if (OpfPath.empty()) return;

  // An OPF entry that is missing leaves the stream empty, which parses as an
  // empty document: the spine below is then empty and reading stops there.
  EntryStream.Clear();
  ExtractEntry(epubPath, OpfPath, EntryStream);
  LoadXmlFromStream(EntryStream);
  ReadMetadata();

  SpineIdrefList().clear();
  GetXmlSpineList();
  SpineIdrefs = SpineIdrefList();
  if (SpineIdrefs.empty()) return;

  SpineHrefList().clear();
  GetXmlManifestList();
  SpineHrefs = SpineHrefList();
  if (SpineHrefs.empty()) return;

  OpfFolder = ArchiveFolder(OpfPath);
  ReadTableOfContents(epubPath);

  Ok = true;
  LastIndex = static_cast<int>(SpineHrefs.size()) - 1;
  CurrentIndex = 0;
}

void TEpuB::ReadTableOfContents(const std::filesystem::path& epubPath) {
  EntryStream.Clear();
  const std::string ncxHref = ArchivePath(GetNcxPath());
  // A spine without a "toc" names no navigation document, so no archive is
  // opened for it; the empty stream parses as an empty document, as a
  // missing NCX does.
  if (!ncxHref.empty()) {
    const std::string ncxPath = OpfFolder.empty() ? ncxHref : OpfFolder + "\\" + ncxHref;
    ExtractEntry(epubPath, ncxPath, EntryStream);
  }
  // A missing NCX parses as an empty document with an empty navMap; a
  // malformed one raises, and Open resets everything.
  LoadXmlFromStream(EntryStream);

  TocList().clear();
  Toc.clear();
  ReadNavMap(FindRootChild("navMap"));
  Toc.reserve(TocList().size());
  for (std::unique_ptr<TToc>& entry : TocList()) {
    std::string label = entry->NavLabel;
    Toc.push_back({std::move(label), std::move(entry)});
  }
  TocList().clear();
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
    Title = GetSectionValue("metadata", "title");
    Creator = GetSectionValue("metadata", "creator");
    Publisher = GetSectionValue("metadata", "publisher");
    Description = GetSectionValue("metadata", "description");
    Language = GetSectionValue("metadata", "language");
    Subject = GetSectionValue("metadata", "subject");
    Date = GetSectionValue("metadata", "date");
    Source = GetSectionValue("metadata", "source");
    GuideCover = GetGuideCover();
    // The package's own identifier is the one that carries an id.
    Identifier = GetSectionValueWithAttribute("metadata", "identifier", "id");
    if (Identifier.empty()) Identifier = GetSectionValue("metadata", "identifier");
    Series = GetMetaContent("calibre:series");
    SeriesIndex = GetMetaContent("calibre:series_index");
    Isbn = GetIdentifierByScheme("ISBN");
    GetSubjects(Subjects);
    Version = GetPackageVersion();
    if (HasCover()) CoverPath = GetCoverPath();
  } catch (const std::exception&) {
    ShowMessage(std::string(kMetadataReadError) + PathText(EpubPath));
  }
}

bool TEpuB::ExtractEntry(const std::filesystem::path& epubPath, std::string_view entryPath,
                         MemoryStream& stream) {
  try {
    TAbUnZipper archive;
    archive.SetFileName(epubPath);
    for (std::size_t i = 0; i < archive.Count(); ++i) {
      const std::string_view storedName = archive.Items(i).fileName;
      if (!IsArchivePath(storedName, entryPath)) continue;
      archive.ExtractEntryToStream(storedName, stream);
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
