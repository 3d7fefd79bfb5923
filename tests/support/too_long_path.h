#pragma once

#include <filesystem>
#include <vector>

namespace quill::testing {

// A chain of nested folders so deep that the full paths of its lower folders
// are longer than the system lets a path be: a search by path meets "File name
// too long" there. Made and removed relative to open folders, since no path
// reaches the bottom. POSIX only.
class TooLongFolderChain {
 public:
  // Makes the chain at `top`, whose parent exists.
  explicit TooLongFolderChain(const std::filesystem::path& top);
  ~TooLongFolderChain();
  TooLongFolderChain(const TooLongFolderChain&) = delete;
  TooLongFolderChain& operator=(const TooLongFolderChain&) = delete;

  // The first folder of the chain whose path is too long to open.
  const std::filesystem::path& firstTooLong() const { return firstTooLong_; }

 private:
  std::filesystem::path top_;
  std::filesystem::path firstTooLong_;
  std::vector<int> folders_;  // the open folders, the top first
};

}  // namespace quill::testing
