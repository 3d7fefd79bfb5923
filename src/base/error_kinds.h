#pragma once

// The error kinds that the base layer raises, and the general ones that any
// layer may raise. Each kind is a subclass of Error whose kind name is its
// class name; each layer declares its own kinds with QUILL_ERROR_KIND.

#include "base/error.h"

#define QUILL_ERROR_KIND(Name)                                           \
  class Name : public Error {                                            \
   public:                                                               \
    explicit Name(const std::string& message) : Error(#Name, message) {} \
  }

namespace quill {

// A file that cannot be opened, or read to the length it claims.
QUILL_ERROR_KIND(EFOpenError);
QUILL_ERROR_KIND(EReadError);
// A value outside the range that its receiver accepts.
QUILL_ERROR_KIND(EArgumentOutOfRangeException);
// A plain error raised with a message only (the unpack's folder error).
QUILL_ERROR_KIND(Exception);

}  // namespace quill
