#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/timestamp.h"

namespace quill {

// One content document by the name that extraction gives it, with its stored time.
struct DocumentTime {
  std::string name;
  Timestamp time = 0;
};

// What the modification check found for one book, with enough detail to tell
// the user why a book is listed. Only kUnchanged keeps a book off the list.
struct CheckOutcome {
  enum class Verdict : std::uint8_t {
    kUnchanged,        // at least one spine document found, every one at the reference time
    kDocumentDiffers,  // a spine document's time differs from the reference time
    kNoSpineDocument,  // no content document of the archive is named by the spine
    kSpineListsNoContentDocument,  // the spine names no XHTML or HTML document at all
    kImpossibleDate,               // a content document's stored date or time is impossible
    kCannotExamine,                // the file, its archive or its package could not be examined
  };

  Verdict verdict = Verdict::kCannotExamine;

  // kDocumentDiffers: the first differing spine document in archive order and
  // the reference document (the last content document), with their stored
  // times. kImpossibleDate: the document whose date is impossible.
  std::string document;
  Timestamp documentTime = 0;
  std::string referenceDocument;
  Timestamp referenceTime = 0;

  // kDocumentDiffers: the time that most spine documents carry, the spine
  // documents whose time differs from it (the odd ones out, in archive order),
  // and whether the reference document's own time differs from it; how many
  // spine documents there are, each counted once, and how many of them carry
  // the common time.
  Timestamp commonTime = 0;
  std::vector<DocumentTime> oddDocuments;
  bool referenceIsOdd = false;
  std::size_t spineDocumentCount = 0;
  std::size_t commonCount = 0;

  // kCannotExamine: why, e.g. "EZipException: Error reading zip file".
  std::string problem;

  bool unchanged() const { return verdict == Verdict::kUnchanged; }

  static CheckOutcome CannotExamine(std::string problem) {
    CheckOutcome outcome;
    outcome.problem = std::move(problem);
    return outcome;
  }
};

}  // namespace quill
