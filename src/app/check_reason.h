#pragma once

#include <string>

#include "app/check_outcome.h"

namespace quill {

// Why the check answered as it did, in words, for a person: the text that the
// command line's --explain prints and the window shows for a listed book.
std::string CheckReasonText(const CheckOutcome& outcome);

}  // namespace quill
