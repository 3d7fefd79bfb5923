#pragma once

#include <string>
#include <vector>

#include "app/check_outcome.h"

namespace quill {

// Fills in the odd ones out of a book whose spine documents do not all carry
// the reference time. `spineDocuments` are the spine documents found, in
// archive order, each once. The common group is the largest set of them that
// carry one time at the time resolution (an item index); on a tie, the group
// of the reference's own time. The common time shown is the exact time that
// most of that group carry. The odd ones are the documents outside the group.
// The verdict itself is left as it is.
void FindOddDocuments(CheckOutcome& outcome, const std::vector<DocumentTime>& spineDocuments,
                      int timeResolution);

// Why the check answered as it did, in words, for a person: the text that the
// command line's --explain prints and the window shows for a listed book.
std::string CheckReasonText(const CheckOutcome& outcome);

}  // namespace quill
