#include "base/writable_file.h"

// The ownership of the open file, the same on every platform; creating,
// writing and closing are the platform's.

namespace quill {

WritableFile::WritableFile(WritableFile&& other) noexcept : handle_(other.handle_) {
  other.handle_ = -1;
}

WritableFile& WritableFile::operator=(WritableFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = -1;
  }
  return *this;
}

WritableFile::~WritableFile() { Close(); }

}  // namespace quill
