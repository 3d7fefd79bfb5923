#pragma once

#include <filesystem>
#include <system_error>

namespace quill::testing {

// Why a test that needs symbolic links was skipped.
inline constexpr const char* kNoLinks = "symbolic links cannot be made on this system";

// Makes a symbolic link at `link` to `target` (a folder link when the target
// is a folder). Where the system allows no links (Windows without the right
// to make them, Wine) nothing is made and the error comes back.
inline std::error_code MakeLink(const std::filesystem::path& target,
                                const std::filesystem::path& link) {
  std::error_code error;
  const std::filesystem::path resolved =
      target.is_absolute() ? target : link.parent_path() / target;
  if (std::filesystem::is_directory(resolved, error)) {
    std::filesystem::create_directory_symlink(target, link, error);
  } else {
    std::filesystem::create_symlink(target, link, error);
  }
  return error;
}

}  // namespace quill::testing
