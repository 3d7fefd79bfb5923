#pragma once

#include <cstdint>
#include <string>

#include "base/timestamp.h"

namespace quill {

// What the modification check found for one book, with enough detail to tell
// the user why a book is listed. Only kUnchanged keeps a book off the list.
struct CheckOutcome {
  enum class Verdict : std::uint8_t {
    kUnchanged,        // at least one spine document found, every one at the reference time
    kDocumentDiffers,  // a spine document's time differs from the reference time
    kNoSpineDocument,  // no content document of the archive is named by the spine
    kCannotExamine,    // the file, its archive or its package could not be examined
  };

  Verdict verdict = Verdict::kCannotExamine;

  // kDocumentDiffers: the first differing spine document in archive order and
  // the reference document (the last content document), by the names that
  // extraction gives them, with their stored times.
  std::string document;
  Timestamp documentTime = 0;
  std::string referenceDocument;
  Timestamp referenceTime = 0;

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
