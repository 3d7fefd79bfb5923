#pragma once

#include <string>

#include "base/timestamp.h"

namespace quill {

// The timestamp as "YYYY-MM-DDTHH:MM:SS", to the whole second, the form that
// scripts read; archive times are exact to two seconds anyway.
std::string IsoDateTimeText(Timestamp timestamp);

}  // namespace quill
