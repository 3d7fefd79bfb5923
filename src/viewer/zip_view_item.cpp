#include "viewer/zip_view_item.h"

#include "viewer/size_text.h"
#include "viewer/time_text.h"

namespace quill {

ZipViewItem MakeZipViewItem(const ZipViewRow& row, std::string_view comment,
                            const TimeTextLocale& locale, std::string_view decimalSeparator) {
  ZipViewItem item;
  item.caption = row.name;
  item.image = RowImage(row.name);
  item.fields = row.fields;
  if (!row.fields) return item;
  const ZipViewFields& fields = *row.fields;
  item.subItems = {TimeText(fields.modified, locale),
                   SizeText(fields.compressedSize, decimalSeparator),
                   SizeText(fields.uncompressedSize, decimalSeparator),
                   std::to_string(fields.crc32),
                   std::to_string(fields.compressionMethod),
                   std::string(comment)};
  return item;
}

}  // namespace quill
