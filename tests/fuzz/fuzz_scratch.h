#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace quill::fuzzing {

// The private folder of one fuzzing process. The readers take paths, so each
// input is written to one file here before it is read; unpacks go to fresh
// folders here. The folder lies on a memory file system when there is one
// (QUILLMERE_FUZZ_SCRATCH names another parent), and goes with all its
// content when the object ends.
class FuzzScratch {
 public:
  FuzzScratch();
  ~FuzzScratch();
  FuzzScratch(const FuzzScratch&) = delete;
  FuzzScratch& operator=(const FuzzScratch&) = delete;

  // Replaces the input file's content with the bytes; returns its path.
  const std::filesystem::path& WriteInput(const std::uint8_t* data, std::size_t size);

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::filesystem::path input_;
};

}  // namespace quill::fuzzing
