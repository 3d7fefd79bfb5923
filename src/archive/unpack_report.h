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

  void Add(std::string entry, EntryExtraction extraction) {
    if (extraction.result != EntryExtraction::Result::kLeftOut) ++written;
    if (extraction.result != EntryExtraction::Result::kWritten) {
      problems.push_back({std::move(entry), std::move(extraction)});
    }
  }
};

}  // namespace quill
