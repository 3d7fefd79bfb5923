#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "base/file_identity.h"

namespace quill {

// A regular file opened for reading only, released when the object ends.
// Move-only. Reads are positional, so one open file serves any order of reads.
class ReadOnlyFile {
 public:
  // Whether other handles may open the file meanwhile. POSIX has no sharing
  // modes; the Windows backend maps these to share 0 and share all.
  enum class Sharing { kNone, kAll };

  // Opens the file. Raises EFOpenError "Cannot open file "<path>". <reason>"
  // when it cannot be opened or is not a regular file (a folder, a pipe).
  static ReadOnlyFile Open(const std::filesystem::path& path, Sharing sharing);

  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile();

  // The file's size in bytes, taken when it was opened.
  std::uint64_t Size() const { return size_; }

  // The identity of the open file; nothing when the system does not tell it.
  std::optional<FileIdentity> Identity() const noexcept;

  // Reads up to buffer.size() bytes at the offset; returns the number read,
  // fewer only at the end of the file. Raises EReadError "Stream read error"
  // when the system fails the read.
  std::size_t ReadAt(std::uint64_t offset, std::span<std::byte> buffer) const;

  // Reads the bytes [offset, offset + count) now and keeps them, so that a
  // later ReadAt that lies wholly within them (or within them and past the
  // file's end) is answered from memory. For a reader that fetches what
  // another thread will read, where every request costs a round trip. Raises
  // as ReadAt; nothing is kept then.
  void ReadAhead(std::uint64_t offset, std::size_t count);

 private:
  struct HeldBytes {
    std::uint64_t offset;
    std::vector<std::byte> bytes;
  };

  ReadOnlyFile(int handle, std::uint64_t size) : handle_(handle), size_(size) {}
  void Release() noexcept;
  // The platform's read; ReadAt answers from the held bytes first.
  std::size_t ReadFromSystem(std::uint64_t offset, std::span<std::byte> buffer) const;

  int handle_ = -1;
  std::uint64_t size_ = 0;
  std::vector<HeldBytes> held_;
};

}  // namespace quill
