#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quill {

class FileWindow;

// Walks a file backwards looking for a 4-byte signature, offering each
// position once, highest first. Every byte of the file is read at most once
// however far the walk goes: the file is read in blocks from the top down,
// and the few bytes that a candidate near a block's top needs from the block
// above are kept rather than read again. The first block goes through the
// window, so that a caller that next decodes what lies near the top (a
// directory before its end record) finds it already read.
class BackwardScan {
 public:
  // Candidates lie below `top`; each is offered with up to `width` bytes
  // (fewer where the file ends).
  BackwardScan(FileWindow& window, std::uint64_t top, std::size_t width);

  struct Candidate {
    std::uint64_t position = 0;
    std::span<const std::byte> bytes;  // valid until the next call
  };

  // The highest position not offered yet, at or above `lowest`, where the
  // signature stands. Nothing when there is none (or the file ends short of
  // what its size promised, which counts as none). Raises EReadError when the
  // system fails a read.
  std::optional<Candidate> NextSignature(std::uint32_t signature, std::uint64_t lowest);

 private:
  // Reads the block that ends just above `position`, reaching no lower than
  // `lowest`; false when the read falls short.
  bool LoadBlockEndingAt(std::uint64_t position, std::uint64_t lowest);

  FileWindow& window_;
  std::size_t width_;
  std::uint64_t next_;  // positions below this one have not been offered
  // The file from start_ on: the block, then up to `width_ - 1` bytes of the one above.
  std::vector<std::byte> buffer_;
  std::uint64_t start_ = 0;
  bool loaded_ = false;
  bool failed_ = false;
};

}  // namespace quill
