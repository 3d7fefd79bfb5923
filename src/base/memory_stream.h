#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace quill {

// A growable byte stream held in memory with a read/write position. Extracted
// archive entries land in one, and the XML model parses one from its position
// to its end.
class MemoryStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

  std::size_t Size() const { return bytes_.size(); }
  std::size_t Position() const { return position_; }

  // Moves the position; a position past the end is clamped to the end.
  void SetPosition(std::size_t position) { position_ = std::min(position, bytes_.size()); }

  // Writes at the position, overwriting what lies there and growing the stream
  // as needed, and moves the position past what was written.
  void Write(std::string_view data) {
    const std::size_t overlap = std::min(data.size(), bytes_.size() - position_);
    bytes_.replace(position_, overlap, data);
    position_ += data.size();
  }

  // Up to count bytes from the position (fewer at the end); moves past them.
  std::string Read(std::size_t count) {
    const std::size_t n = std::min(count, bytes_.size() - position_);
    std::string out = bytes_.substr(position_, n);
    position_ += n;
    return out;
  }

  // Empties the stream; the position returns to 0.
  void Clear() {
    bytes_.clear();
    position_ = 0;
  }

  // All bytes, whatever the position.
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

}  // namespace quill
