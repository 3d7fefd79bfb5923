#pragma once

#include <cstdint>

#include "base/timestamp.h"

namespace quill {

// Converts an entry's stored modification time (MS-DOS date in the high word,
// MS-DOS time in the low word) to a timestamp. The date is checked first:
// an impossible date raises EConvertError "Invalid argument to date encode",
// a real date with an impossible time "Invalid argument to time encode".
Timestamp DosDateTimeToTimestamp(std::uint32_t value);

}  // namespace quill
