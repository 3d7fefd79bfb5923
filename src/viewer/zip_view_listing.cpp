#include "viewer/zip_view_listing.h"

#include "archive/book_archive.h"
#include "archive/dos_date_time.h"
#include "archive/zip_file.h"
#include "base/error.h"
#include "base/file_system.h"
#include "base/text.h"
#include "epub/content_document.h"
#include "viewer/zip_view_texts.h"

namespace quill {
namespace {

// Appends the rows of the open archive's content documents. The row goes in
// before its time is converted, so the document whose time fails keeps its
// row, without fields, when the error leaves.
void AppendContentDocuments(const TZipFile& reader, std::vector<ZipViewRow>& rows) {
  const std::vector<std::string> names = reader.FileNames();
  for (int index = 0; index < reader.FileCount(); ++index) {
    const std::string& name = names[static_cast<std::size_t>(index)];
    if (!IsContentDocument(name)) continue;
    ZipViewRow& row = rows.emplace_back();
    row.name = name;
    const TZipHeader header = reader.FileInfo(index);
    ZipViewFields fields;
    fields.modified = DosDateTimeToTimestamp(header.ModifiedDateTime);
    fields.compressedSize = header.CompressedSize;
    fields.uncompressedSize = header.UncompressedSize;
    fields.crc32 = header.CRC32;
    fields.compressionMethod = header.CompressionMethod;
    row.fields = fields;
  }
}

}  // namespace

bool CanListBook(const std::filesystem::path& book) noexcept {
  return FileExists(book) && TZipFile::IsValid(book);
}

bool CanListBook(BookArchive& book) noexcept {
  return FileExists(book.Path()) && book.HasEndRecordInTail();
}

ZipViewListing ListContentDocuments(const std::filesystem::path& book) {
  return ListContentDocuments(std::make_shared<BookArchive>(book, ReadOnlyFile::Sharing::kNone));
}

ZipViewListing ListContentDocuments(const std::shared_ptr<BookArchive>& book) {
  ZipViewListing listing;
  try {
    TZipFile reader;
    reader.Open(book);
    listing.comment = reader.Comment();
    AppendContentDocuments(reader, listing.rows);
    reader.Close();
  } catch (const Error& error) {
    listing.failure = ZipViewFailure{error.kind(), error.message()};
  }
  return listing;
}

ZipViewImage RowImage(std::string_view name) {
  return SameTextAscii(ExtensionOf(name), ".xhtml") ? kXmlPageImage : kHtmPageImage;
}

std::string ZipViewFailureText(const ZipViewFailure& failure, std::string_view bookPath) {
  std::string text = failure.kind;
  for (const std::string_view line : {std::string_view(failure.message), bookPath,
                                      std::string_view(texts::kZipViewFailureLastLine)}) {
    text += texts::kZipViewFailureLineBreak;
    text += line;
  }
  return text;
}

}  // namespace quill
