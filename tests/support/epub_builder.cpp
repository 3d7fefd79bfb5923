#include "epub_builder.h"

namespace quill::testing {
namespace {

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string ChapterXhtml(const EpubChapter& chapter) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" "
         "\"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\n"
         "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n  <title>" +
         XmlEscape(chapter.title) +
         "</title>\n  <link href=\"../Styles/style.css\" rel=\"stylesheet\" type=\"text/css\"/>\n"
         "</head>\n<body>\n<h1>" +
         XmlEscape(chapter.title) + "</h1>\n" + chapter.body + "\n</body>\n</html>\n";
}

}  // namespace

std::string XmlEscape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

EpubBuilder& EpubBuilder::OpfPath(std::string path) {
  opfPath_ = std::move(path);
  return *this;
}
EpubBuilder& EpubBuilder::Title(std::string title) {
  title_ = std::move(title);
  return *this;
}
EpubBuilder& EpubBuilder::Creator(std::string creator) {
  creator_ = std::move(creator);
  return *this;
}
EpubBuilder& EpubBuilder::Identifier(std::string id) {
  identifier_ = std::move(id);
  return *this;
}
EpubBuilder& EpubBuilder::Language(std::string language) {
  language_ = std::move(language);
  return *this;
}
EpubBuilder& EpubBuilder::Modified(std::uint32_t dosDateTime) {
  modified_ = dosDateTime;
  return *this;
}
EpubBuilder& EpubBuilder::WithNcx(bool withNcx) {
  withNcx_ = withNcx;
  return *this;
}

EpubBuilder& EpubBuilder::AddChapter(EpubChapter chapter) {
  chapters_.push_back(std::move(chapter));
  return *this;
}

EpubBuilder& EpubBuilder::AddChapters(int count) {
  for (int i = 0; i < count; ++i) {
    const int n = static_cast<int>(chapters_.size()) + 1;
    AddChapter({"chapter" + TwoDigits(n) + ".xhtml", "Chapter " + std::to_string(n),
                "<p>The text of chapter " + std::to_string(n) + ".</p>", std::nullopt});
  }
  return *this;
}

EpubBuilder& EpubBuilder::EditChapter(std::size_t index, std::uint32_t dosDateTime) {
  chapters_.at(index).modified = dosDateTime;
  return *this;
}

EpubBuilder& EpubBuilder::AddResource(std::string relativeName, std::string data) {
  resources_.emplace_back(std::move(relativeName), std::move(data));
  return *this;
}

EpubBuilder& EpubBuilder::ContainerEntryName(std::string name) {
  containerEntryName_ = std::move(name);
  return *this;
}

EpubBuilder& EpubBuilder::NcxHref(std::string href) {
  ncxHref_ = std::move(href);
  return *this;
}

EpubBuilder& EpubBuilder::ReplaceEntry(std::string archiveName, std::string data) {
  replacements_.emplace_back(std::move(archiveName), std::move(data));
  return *this;
}

std::string EpubBuilder::OpfFolderPrefix() const {
  const std::size_t slash = opfPath_.rfind('/');
  return slash == std::string::npos ? std::string() : opfPath_.substr(0, slash + 1);
}

std::string EpubBuilder::ChapterEntryName(std::size_t index) const {
  return OpfFolderPrefix() + "Text/" + chapters_.at(index).fileName;
}

std::string EpubBuilder::ContainerXml() const {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
         "  <rootfiles>\n    <rootfile full-path=\"" +
         XmlEscape(opfPath_) +
         "\" media-type=\"application/oebps-package+xml\"/>\n  </rootfiles>\n</container>\n";
}

std::string EpubBuilder::OpfXml() const {
  std::string opf =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<package xmlns=\"http://www.idpf.org/2007/opf\" unique-identifier=\"BookId\" "
      "version=\"2.0\">\n"
      "  <metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
      "xmlns:opf=\"http://www.idpf.org/2007/opf\">\n"
      "    <dc:title>" +
      XmlEscape(title_) +
      "</dc:title>\n"
      "    <dc:creator opf:role=\"aut\">" +
      XmlEscape(creator_) +
      "</dc:creator>\n"
      "    <dc:language>" +
      XmlEscape(language_) +
      "</dc:language>\n"
      "    <dc:identifier id=\"BookId\" opf:scheme=\"UUID\">" +
      XmlEscape(identifier_) +
      "</dc:identifier>\n"
      "    <dc:publisher>Quillmere Test Press</dc:publisher>\n"
      "    <dc:date>2021-06-15</dc:date>\n"
      "    <dc:subject>Fiction</dc:subject>\n"
      "    <meta name=\"cover\" content=\"cover-image\"/>\n"
      "  </metadata>\n  <manifest>\n";
  if (withNcx_) {
    opf += "    <item id=\"ncx\" href=\"" + XmlEscape(ncxHref_) +
           "\" media-type=\"application/x-dtbncx+xml\"/>\n";
  }
  opf +=
      "    <item id=\"style\" href=\"Styles/style.css\" media-type=\"text/css\"/>\n"
      "    <item id=\"cover-image\" href=\"Images/cover.jpg\" media-type=\"image/jpeg\"/>\n";
  for (std::size_t i = 0; i < chapters_.size(); ++i) {
    opf += "    <item id=\"c" + std::to_string(i + 1) + "\" href=\"Text/" +
           XmlEscape(chapters_[i].fileName) + "\" media-type=\"application/xhtml+xml\"/>\n";
  }
  opf += withNcx_ ? "  </manifest>\n  <spine toc=\"ncx\">\n" : "  </manifest>\n  <spine>\n";
  for (std::size_t i = 0; i < chapters_.size(); ++i) {
    opf += "    <itemref idref=\"c" + std::to_string(i + 1) + "\"/>\n";
  }
  opf +=
      "  </spine>\n  <guide>\n"
      "    <reference type=\"cover\" title=\"Cover\" href=\"Images/cover.jpg\"/>\n"
      "  </guide>\n</package>\n";
  return opf;
}

std::string EpubBuilder::NcxXml() const {
  std::string ncx =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\">\n"
      "  <head>\n    <meta name=\"dtb:uid\" content=\"" +
      XmlEscape(identifier_) +
      "\"/>\n"
      "    <meta name=\"dtb:depth\" content=\"1\"/>\n  </head>\n"
      "  <docTitle><text>" +
      XmlEscape(title_) + "</text></docTitle>\n  <navMap>\n";
  // The chapters' sources are relative to the NCX's own folder.
  std::string toTextFolder;
  for (const char c : ncxHref_) {
    if (c == '/') toTextFolder += "../";
  }
  toTextFolder += "Text/";
  for (std::size_t i = 0; i < chapters_.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    ncx += "    <navPoint id=\"navPoint-" + n + "\" playOrder=\"" + n +
           "\">\n"
           "      <navLabel><text>" +
           XmlEscape(chapters_[i].title) +
           "</text></navLabel>\n"
           "      <content src=\"" +
           toTextFolder + XmlEscape(chapters_[i].fileName) +
           "\"/>\n"
           "    </navPoint>\n";
  }
  ncx += "  </navMap>\n</ncx>\n";
  return ncx;
}

ZipWriter EpubBuilder::ToZip() const {
  ZipWriter zip;
  std::vector<bool> replaced(replacements_.size(), false);
  // Adds the entry, with a replacement's data in place of its own.
  const auto add = [&](const std::string& name, const std::string& data, std::uint32_t modified) {
    for (std::size_t i = 0; i < replacements_.size(); ++i) {
      if (replacements_[i].first != name) continue;
      replaced[i] = true;
      zip.Add(name, replacements_[i].second, modified);
      return;
    }
    zip.Add(name, data, modified);
  };
  const std::string folder = OpfFolderPrefix();
  ZipEntry mimetype;
  mimetype.name = "mimetype";
  mimetype.data = "application/epub+zip";
  mimetype.method = 0;
  mimetype.modified = modified_;
  zip.Add(std::move(mimetype));
  add(containerEntryName_, ContainerXml(), modified_);
  add(opfPath_, OpfXml(), modified_);
  if (withNcx_) add(folder + ncxHref_, NcxXml(), modified_);
  add(folder + "Styles/style.css", "body { font-family: serif; margin: 1em; }\n", modified_);
  add(folder + "Images/cover.jpg", std::string("\xFF\xD8\xFF\xE0 cover image\xFF\xD9", 18),
      modified_);
  for (std::size_t i = 0; i < chapters_.size(); ++i) {
    add(ChapterEntryName(i), ChapterXhtml(chapters_[i]), chapters_[i].modified.value_or(modified_));
  }
  for (const auto& [name, data] : resources_) add(folder + name, data, modified_);
  for (std::size_t i = 0; i < replacements_.size(); ++i) {
    if (!replaced[i]) zip.Add(replacements_[i].first, replacements_[i].second, modified_);
  }
  return zip;
}

}  // namespace quill::testing
