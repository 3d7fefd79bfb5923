#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "base/read_only_file.h"

namespace quill {

// A stretch of a read-only file held in memory, for decoders that walk a
// region of the file mostly forward. A request that the held bytes answer
// costs no read; any other request reads one new, larger stretch starting at
// the requested offset. So a region of known size is read in one go, and a
// region larger than expected costs a few big reads, never one per field.
class FileWindow {
 public:
  explicit FileWindow(const ReadOnlyFile& file) : file_(file) {}
  FileWindow(const FileWindow&) = delete;
  FileWindow& operator=(const FileWindow&) = delete;

  std::uint64_t FileSize() const { return file_.Size(); }
  const ReadOnlyFile& File() const { return file_; }

  // The file's bytes [offset, offset + count), fewer when the file ends
  // first, none when offset lies at or past its end. When they are not held
  // yet, at least readAhead bytes from offset are read (the window also grows
  // on its own when requests keep passing its end). The view stays valid
  // until the next call. Raises EReadError when the system fails a read.
  std::span<const std::byte> Bytes(std::uint64_t offset, std::size_t count,
                                   std::size_t readAhead = 0) {
    if (Holds(offset, count)) return {buffer_.get() + (offset - start_), count};
    return ReadBytes(offset, count, readAhead);
  }

 private:
  bool Holds(std::uint64_t offset, std::size_t count) const {
    return offset >= start_ && count <= held_ && offset - start_ <= held_ - count;
  }
  std::span<const std::byte> ReadBytes(std::uint64_t offset, std::size_t count,
                                       std::size_t readAhead);
  void Fill(std::uint64_t offset, std::size_t length);

  const ReadOnlyFile& file_;
  std::unique_ptr<std::byte[]> buffer_;
  std::size_t capacity_ = 0;
  std::uint64_t start_ = 0;  // file offset of buffer_[0]
  std::size_t held_ = 0;     // valid bytes in buffer_
};

}  // namespace quill
