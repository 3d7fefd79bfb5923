#include "base/read_only_file.h"

// The ownership of the open file, the same on every platform; opening,
// reading and closing are the platform's.

namespace quill {

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : handle_(other.handle_), size_(other.size_) {
  other.handle_ = -1;
}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = other.handle_;
    size_ = other.size_;
    other.handle_ = -1;
  }
  return *this;
}

ReadOnlyFile::~ReadOnlyFile() { Release(); }

}  // namespace quill
