#include "base/read_only_file.h"

#include <algorithm>
#include <cstring>

// The ownership of the open file and the bytes read ahead, the same on every
// platform; opening, reading and closing are the platform's.

namespace quill {

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : handle_(other.handle_), size_(other.size_), held_(std::move(other.held_)) {
  other.handle_ = -1;
}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = other.handle_;
    size_ = other.size_;
    held_ = std::move(other.held_);
    other.handle_ = -1;
  }
  return *this;
}

ReadOnlyFile::~ReadOnlyFile() { Release(); }

std::size_t ReadOnlyFile::ReadAt(std::uint64_t offset, std::span<std::byte> buffer) const {
  if (offset >= size_) return 0;
  // What the file holds of the request: a read past its end stops there.
  const std::uint64_t wanted = std::min<std::uint64_t>(buffer.size(), size_ - offset);
  for (const HeldBytes& held : held_) {
    if (offset >= held.offset && offset - held.offset <= held.bytes.size() &&
        wanted <= held.bytes.size() - (offset - held.offset)) {
      const auto count = static_cast<std::size_t>(wanted);
      if (count > 0) std::memcpy(buffer.data(), held.bytes.data() + (offset - held.offset), count);
      return count;
    }
  }
  return ReadFromSystem(offset, buffer);
}

void ReadOnlyFile::ReadAhead(std::uint64_t offset, std::size_t count) {
  HeldBytes held{offset, std::vector<std::byte>(count)};
  held.bytes.resize(ReadFromSystem(offset, held.bytes));
  held_.push_back(std::move(held));
}

}  // namespace quill
