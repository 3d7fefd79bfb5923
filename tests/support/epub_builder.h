#pragma once

// Builds EPUB 2 books for tests and sample libraries: mimetype, container,
// OPF with metadata, manifest and a spine naming its NCX, the NCX, chapters,
// a style sheet and an image. Every entry carries the book's production time
// unless a chapter is given a time of its own (an "edited" chapter).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "zip_writer.h"

namespace quill::testing {

struct EpubChapter {
  std::string fileName;  // under the text folder, e.g. "chapter01.xhtml"
  std::string title;
  std::string body;                       // XHTML body content
  std::optional<std::uint32_t> modified;  // overrides the book's time
};

class EpubBuilder {
 public:
  // The OPF's archive name; its folder holds everything else ("" = root).
  EpubBuilder& OpfPath(std::string path);
  EpubBuilder& Title(std::string title);
  EpubBuilder& Creator(std::string creator);
  EpubBuilder& Identifier(std::string identifier);
  EpubBuilder& Language(std::string language);
  // The production time every entry carries by default.
  EpubBuilder& Modified(std::uint32_t dosDateTime);
  // Whether the spine names an NCX (and the book holds one).
  EpubBuilder& WithNcx(bool withNcx);
  EpubBuilder& AddChapter(EpubChapter chapter);
  // Adds `count` chapters "chapterNN.xhtml" with short bodies.
  EpubBuilder& AddChapters(int count);
  // Gives the chapter at the index its own time (an edit after production).
  EpubBuilder& EditChapter(std::size_t index, std::uint32_t dosDateTime);
  EpubBuilder& AddResource(std::string relativeName, std::string data);
  // The container document's archive name (default "META-INF/container.xml").
  EpubBuilder& ContainerEntryName(std::string name);
  // The NCX's href relative to the OPF folder (default "toc.ncx").
  EpubBuilder& NcxHref(std::string href);
  // Stores data under the archive name instead of what the builder would
  // write there (a damaged NCX, an OPF of the test's own), or adds it.
  EpubBuilder& ReplaceEntry(std::string archiveName, std::string data);

  // The archive with every entry added, ready for further changes.
  ZipWriter ToZip() const;
  std::string Build() const { return ToZip().Build(); }
  void WriteTo(const std::filesystem::path& path) const { ToZip().WriteTo(path); }

  // The OPF folder with a trailing "/", or "" for a root OPF.
  std::string OpfFolderPrefix() const;
  // The archive name of a chapter, e.g. "OEBPS/Text/chapter01.xhtml".
  std::string ChapterEntryName(std::size_t index) const;

  std::string ContainerXml() const;
  std::string OpfXml() const;
  std::string NcxXml() const;

 private:
  std::string opfPath_ = "OEBPS/content.opf";
  std::string title_ = "A Sample Book";
  std::string creator_ = "Anna Author";
  std::string identifier_ = "urn:uuid:3f1a2b4c-0000-4000-8000-000000000001";
  std::string language_ = "en";
  std::uint32_t modified_ = kDosTime20210615;
  bool withNcx_ = true;
  std::vector<EpubChapter> chapters_;
  std::vector<std::pair<std::string, std::string>> resources_;
  std::string containerEntryName_ = "META-INF/container.xml";
  std::string ncxHref_ = "toc.ncx";
  std::vector<std::pair<std::string, std::string>> replacements_;
};

// Escapes &, <, > and " for XML text and attribute values.
std::string XmlEscape(const std::string& text);

}  // namespace quill::testing
