#pragma once

// The error kind of the application list's registry store.

#include "base/error_kinds.h"

namespace quill {

// The current user's registry: a key that cannot be opened, created or written.
QUILL_ERROR_KIND(ERegistryError);

}  // namespace quill
