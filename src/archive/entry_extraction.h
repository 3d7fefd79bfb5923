#pragma once

#include <string>

namespace quill {

// What became of one entry that was to be written into a folder. Anything but
// kWritten is something the user is told: an entry left out, or data written
// that does not match the checksum stored with it.
struct EntryExtraction {
  enum class Result {
    kWritten,           // the file or folder is in place as stored
    kChecksumMismatch,  // the file is in place, but its data fails the stored CRC-32
    kReplacedEarlier,   // the file is in place, over the file of an earlier entry of its name
    kLeftOut,           // nothing was written for the entry
  };

  Result result = Result::kWritten;
  std::string reason;  // why, in words, unless kWritten

  static EntryExtraction LeftOut(std::string reason) {
    return {Result::kLeftOut, std::move(reason)};
  }
};

}  // namespace quill
