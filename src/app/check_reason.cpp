#include "app/check_reason.h"

#include "base/iso_date_time.h"

namespace quill {

std::string CheckReasonText(const CheckOutcome& outcome) {
  using Verdict = CheckOutcome::Verdict;
  switch (outcome.verdict) {
    case Verdict::kUnchanged:
      return "unchanged";
    case Verdict::kDocumentDiffers:
      return outcome.document + " (" + IsoDateTimeText(outcome.documentTime) + ") differs from " +
             outcome.referenceDocument + " (" + IsoDateTimeText(outcome.referenceTime) + ")";
    case Verdict::kNoSpineDocument:
      return "no spine document found in the archive";
    case Verdict::kCannotExamine:
      return "cannot be examined: " + outcome.problem;
  }
  return {};
}

}  // namespace quill
