#pragma once

// The error kinds of the archive layer.

#include "base/error_kinds.h"

namespace quill {

// Reading the central directory and its times.
QUILL_ERROR_KIND(EZipException);
QUILL_ERROR_KIND(EConvertError);
// Entry extraction.
QUILL_ERROR_KIND(EInOutError);
QUILL_ERROR_KIND(EAbFileNotFound);
QUILL_ERROR_KIND(EAbBadStream);
QUILL_ERROR_KIND(EAbUnhandledType);
QUILL_ERROR_KIND(EAbZipInvalid);

}  // namespace quill
