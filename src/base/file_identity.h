#pragma once

#include <compare>
#include <cstdint>

namespace quill {

// What makes a file the same file whatever name or link leads to it: the
// device and inode on POSIX systems, the volume serial number and file index
// on Windows.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t index = 0;

  auto operator<=>(const FileIdentity&) const = default;
};

}  // namespace quill
