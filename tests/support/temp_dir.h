#pragma once

#include <filesystem>

namespace quill::testing {

// A fresh folder under the system's temporary directory, removed with all its
// content when the object ends (write bits are restored first, so read-only
// files and folders a test made go too).
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& relative) const {
    return path_ / relative;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace quill::testing
