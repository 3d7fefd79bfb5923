#pragma once

// The error kinds of the system. Each kind is a subclass of Error whose kind
// name is its class name. They are declared together because each is one line;
// a layer that needs a kind of its own adds it here.

#include "base/error.h"

namespace quill {

#define QUILL_ERROR_KIND(Name)                                               \
  class Name : public Error {                                                \
   public:                                                                   \
    explicit Name(const std::string& message) : Error(#Name, message) {}     \
  }

// Archive directory reading.
QUILL_ERROR_KIND(EZipException);
QUILL_ERROR_KIND(EConvertError);
QUILL_ERROR_KIND(EFOpenError);
QUILL_ERROR_KIND(EArgumentOutOfRangeException);
QUILL_ERROR_KIND(EReadError);
QUILL_ERROR_KIND(EInOutError);
// Entry extraction.
QUILL_ERROR_KIND(EAbFileNotFound);
QUILL_ERROR_KIND(EAbBadStream);
QUILL_ERROR_KIND(EAbUnhandledType);
QUILL_ERROR_KIND(EAbZipInvalid);
// XML document model.
QUILL_ERROR_KIND(EJclSimpleXMLError);
QUILL_ERROR_KIND(EJclCharsetError);
// A plain error raised with a message only (the unpack's folder error).
QUILL_ERROR_KIND(Exception);
// The current user's registry: a key that cannot be opened, created or written.
QUILL_ERROR_KIND(ERegistryError);

#undef QUILL_ERROR_KIND

}  // namespace quill
