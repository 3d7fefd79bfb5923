#pragma once

#include <string>
#include <vector>

#include "app/check_outcome.h"

namespace quill {

// Fills in the odd ones out of a book whose spine documents do not all carry
// the reference time: the time that most of `spineDocuments` (the spine
// documents found, in archive order) carry at the time resolution (an item
// index), the documents whose time differs from it, and whether the
// reference document's time differs from it. On a tie the reference's own
// time counts as the common one. The verdict itself is left as it is.
void FindOddDocuments(CheckOutcome& outcome, const std::vector<DocumentTime>& spineDocuments,
                      int timeResolution);

// Why the check answered as it did, in words, for a person: the text that the
// command line's --explain prints and the window shows for a listed book.
std::string CheckReasonText(const CheckOutcome& outcome);

}  // namespace quill
