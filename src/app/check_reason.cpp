#include "app/check_reason.h"

#include <cstddef>
#include <map>

#include "base/iso_date_time.h"
#include "base/time_resolution.h"

namespace quill {
namespace {

using Verdict = CheckOutcome::Verdict;

// How many odd documents a reason names before it only counts the rest.
constexpr std::size_t kNamedOddDocuments = 5;

std::string Named(const std::string& name, Timestamp time) {
  return name + " (" + IsoDateTimeText(time) + ")";
}

// "a (t), b (t) and 3 more", the reference document left out when it is odd
// itself, since the text names it apart.
std::string OddDocumentList(const CheckOutcome& outcome, std::size_t& count) {
  std::string text;
  count = 0;
  for (const DocumentTime& document : outcome.oddDocuments) {
    if (outcome.referenceIsOdd && document.name == outcome.referenceDocument) continue;
    if (count < kNamedOddDocuments)
      text += (count > 0 ? ", " : "") + Named(document.name, document.time);
    ++count;
  }
  if (count > kNamedOddDocuments)
    text += " and " + std::to_string(count - kNamedOddDocuments) + " more";
  return text;
}

// The spine documents that carry the common time: "most spine documents"
// only when they are more than half.
std::string CommonGroup(const CheckOutcome& outcome) {
  if (outcome.commonCount * 2 > outcome.spineDocumentCount) return "most spine documents";
  if (outcome.commonCount * 2 == outcome.spineDocumentCount) return "half of the spine documents";
  return std::to_string(outcome.commonCount) + " of the " +
         std::to_string(outcome.spineDocumentCount) + " spine documents";
}

std::string DifferenceText(const CheckOutcome& outcome) {
  const std::string group = CommonGroup(outcome);
  const std::string commonTime = IsoDateTimeText(outcome.commonTime);
  const std::string common = group + " (" + commonTime + ")";
  std::size_t count = 0;
  const std::string odd = OddDocumentList(outcome, count);
  if (outcome.referenceIsOdd) {
    std::string text = "the reference document " +
                       Named(outcome.referenceDocument, outcome.referenceTime) +
                       ", the last content document, is the odd one out: it differs from " + common;
    if (count > 0) text += "; so do " + odd;
    return text;
  }
  const bool majority = outcome.commonCount * 2 > outcome.spineDocumentCount;
  if (count > 0 && majority)
    return odd + (count == 1 ? " differs from " : " differ from ") + common;
  if (count > 0) {
    const bool half = outcome.commonCount * 2 == outcome.spineDocumentCount;
    return group + (outcome.commonCount == 1 ? " carries " : " carry ") + commonTime +
           (half ? ", the other half" : ", the others") + " differ: " + odd;
  }
  // Times that are each near the common one, yet not near each other.
  return Named(outcome.document, outcome.documentTime) + " differs from " +
         Named(outcome.referenceDocument, outcome.referenceTime);
}

}  // namespace

void FindOddDocuments(CheckOutcome& outcome, const std::vector<DocumentTime>& spineDocuments,
                      int timeResolution) {
  const auto sameAs = [timeResolution](Timestamp common, Timestamp time) {
    return SameAtTimeResolution(timeResolution, common, time);
  };
  // Books carry few distinct times, however many documents: counting by
  // distinct time keeps a long spine cheap.
  std::map<Timestamp, std::size_t> documentsAt;
  for (const DocumentTime& document : spineDocuments) ++documentsAt[document.time];
  const auto countNear = [&](Timestamp center) {
    std::size_t count = 0;
    for (const auto& [time, documents] : documentsAt) count += sameAs(center, time) ? documents : 0;
    return count;
  };
  // The group is the documents near one of their own times (or the
  // reference's); the reference's group wins a tie.
  Timestamp center = outcome.referenceTime;
  std::size_t most = countNear(center);
  for (const auto& [time, documents] : documentsAt) {
    const std::size_t near = countNear(time);
    if (near > most) {
      most = near;
      center = time;
    }
  }
  // At a coarse resolution the group holds several exact times; the one
  // shown is the one most of it carries (the reference's on a tie, else the
  // earliest), not whichever happened to be the center.
  Timestamp shown = center;
  std::size_t shownCount = 0;
  for (const auto& [time, documents] : documentsAt) {
    if (!sameAs(center, time)) continue;
    if (documents > shownCount || (documents == shownCount && time == outcome.referenceTime)) {
      shown = time;
      shownCount = documents;
    }
  }
  outcome.commonTime = shown;
  outcome.commonCount = most;
  outcome.spineDocumentCount = spineDocuments.size();
  outcome.oddDocuments.clear();
  for (const DocumentTime& document : spineDocuments) {
    if (!sameAs(center, document.time)) outcome.oddDocuments.push_back(document);
  }
  outcome.referenceIsOdd = !sameAs(center, outcome.referenceTime);
}

std::string CheckReasonText(const CheckOutcome& outcome) {
  switch (outcome.verdict) {
    case Verdict::kUnchanged:
      return "unchanged";
    case Verdict::kDocumentDiffers:
      return DifferenceText(outcome);
    case Verdict::kNoSpineDocument:
      return "no spine document found in the archive";
    case Verdict::kSpineListsNoContentDocument:
      return "the spine lists no XHTML or HTML document";
    case Verdict::kImpossibleDate:
      return "the stored date of " + outcome.document + " is impossible";
    case Verdict::kCannotExamine:
      return "cannot be examined: " + outcome.problem;
  }
  return {};
}

}  // namespace quill
