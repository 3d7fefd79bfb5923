#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "archive/entry_extraction.h"

namespace quill {

// What an unpack into a folder did: how many entries are in place, and each
// entry that it left out or wrote with a failing checksum, in archive order.
struct UnpackReport {
  struct Problem {
    std::string entry;  // the entry's decoded name
    EntryExtraction extraction;

    // "NAME: not unpacked: why", or "NAME: why" for data written all the same.
    std::string Text() const {
      const bool leftOut = extraction.result == EntryExtraction::Result::kLeftOut;
      return entry + (leftOut ? ": not unpacked: " : ": ") + extraction.reason;
    }
  };

  std::size_t written = 0;  // files and folders in place, checksum mismatches included
  std::vector<Problem> problems;

  // Files found in the folder after the unpack that no entry of the book
  // names (left there by an earlier unpack): how many, and the first few,
  // as relative paths with "/" between names. Nothing of them is removed.
  std::size_t strayCount = 0;
  bool strayCountReachedLimit = false;  // the folder holds at least that many
  std::vector<std::string> strays;

  // "the folder also holds 3 files that are not in this book, left by an
  // earlier unpack: a, b, c"; empty when there are none.
  std::string StraysText() const {
    if (strayCount == 0) return {};
    std::string text = "the folder also holds " +
                       std::string(strayCountReachedLimit ? "at least " : "") +
                       std::to_string(strayCount) +
                       (strayCount == 1 ? " file that is not" : " files that are not") +
                       " in this book, left by an earlier unpack: ";
    for (std::size_t i = 0; i < strays.size(); ++i) text += (i == 0 ? "" : ", ") + strays[i];
    if (strays.size() < strayCount) text += ", ...";
    return text;
  }

  void Add(std::string entry, EntryExtraction extraction) {
    if (extraction.result != EntryExtraction::Result::kLeftOut) ++written;
    if (extraction.result != EntryExtraction::Result::kWritten) {
      problems.push_back({std::move(entry), std::move(extraction)});
    }
  }
};

}  // namespace quill
