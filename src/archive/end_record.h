#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "archive/backward_scan.h"

namespace quill {

class FileWindow;

// Finds the end-of-central-directory record (signature 50 4B 05 06) by the
// two rules that the readers apply, in one walk from the end of the file:
// each byte is read at most once, whichever rule asks first or asks further.
class EndRecordSearch {
 public:
  static constexpr std::uint64_t kRecordSize = 22;  // signature and fields, without the comment
  // The record with the longest comment that its 16-bit length can state.
  static constexpr std::uint64_t kTailSearched = kRecordSize + 65535;

  explicit EndRecordSearch(FileWindow& window);

  // The directory reader's rule: the signature nearest the end within the
  // file's last kTailSearched bytes whose 18 bytes of fields lie within the
  // file: a record with any comment is found.
  std::optional<std::uint64_t> NearestInTail();

  // The extractor's rule: the signature nearest the end, anywhere in the
  // file, whose comment fits in the bytes that follow the record.
  std::optional<std::uint64_t> NearestWithFittingComment();

 private:
  // Offers the next candidate to both rules; false when the walk has ended.
  bool Step(std::uint64_t lowest);

  std::uint64_t fileSize_;
  std::uint64_t tailLowest_;
  BackwardScan scan_;
  bool tailDone_ = false;
  bool fileDone_ = false;
  std::optional<std::uint64_t> inTail_;
  std::optional<std::uint64_t> withFittingComment_;
};

// The archive comment's raw bytes from the record at the position, cut short
// where the file ends.
std::string EndRecordComment(FileWindow& window, std::uint64_t position);

}  // namespace quill
