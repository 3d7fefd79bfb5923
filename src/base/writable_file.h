#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace quill {

// A file created for writing, closed when the object ends. Move-only.
class WritableFile {
 public:
  // Creates the file anew. A file already at the path is removed first, so an
  // earlier read-only copy is replaced and a link at the path is never written
  // through (the new file takes the link's place). Nothing when the file
  // cannot be created.
  static std::optional<WritableFile> Create(const std::filesystem::path& path) noexcept;

  WritableFile(WritableFile&& other) noexcept;
  WritableFile& operator=(WritableFile&& other) noexcept;
  WritableFile(const WritableFile&) = delete;
  WritableFile& operator=(const WritableFile&) = delete;
  ~WritableFile();

  // Appends the bytes; false when the system refuses (a full disk, say).
  bool Write(std::string_view bytes) noexcept;

  // Closes the file now; false when closing reports a failed write.
  bool Close() noexcept;

 private:
  explicit WritableFile(int handle) : handle_(handle) {}

  int handle_ = -1;
};

}  // namespace quill
