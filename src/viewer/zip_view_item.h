#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/time_text_locale.h"
#include "viewer/zip_view_listing.h"
#include "viewer/zip_view_marks.h"

namespace quill {

// One row of the zip view's list as it is shown: the caption (the entry
// name), the image, and the sub-items of columns 1 to 6 (time text, the two
// size texts, CRC-32, method, archive comment), with the recorded values that
// the sub-items were written from. The row of a document whose time could not
// be read has its caption and image and no sub-items.
struct ZipViewItem {
  std::string caption;
  ZipViewImage image = kHtmPageImage;
  std::vector<std::string> subItems;
  std::optional<ZipViewFields> fields;
  ZipViewMark mark = ZipViewMark::kNone;  // how the row stands out; kept through sorting
};

// The item of a listed row, its texts written under the user's locale
// conventions (`locale` for the time, `decimalSeparator` for the sizes).
ZipViewItem MakeZipViewItem(const ZipViewRow& row, std::string_view comment,
                            const TimeTextLocale& locale, std::string_view decimalSeparator);

}  // namespace quill
