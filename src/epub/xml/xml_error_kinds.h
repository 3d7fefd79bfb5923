#pragma once

// The error kinds of the XML document model.

#include "base/error_kinds.h"

namespace quill {

QUILL_ERROR_KIND(EJclSimpleXMLError);
QUILL_ERROR_KIND(EJclCharsetError);

}  // namespace quill
