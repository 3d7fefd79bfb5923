#pragma once

// Builds ZIP archives byte by byte for tests, with every field under the
// test's control: names as raw bytes, flags, methods, stored times (impossible
// ones too), extra fields, comments, duplicate names, broken offsets and
// counts, ZIP64 records. Entry data is stored or deflated from the given text.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quill::testing {

// 2021-06-15 13:45:30 as an MS-DOS date (high word) and time (low word).
inline constexpr std::uint32_t kDosTime20210615 = 0x52CF6DAF;

// Packs a calendar date and time into the MS-DOS form; no validation, so
// impossible values can be stored on purpose.
std::uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second);

struct ZipEntry {
  std::string name;          // stored name bytes
  std::string data;          // uncompressed content
  std::uint16_t method = 8;  // 0 stored, 8 deflated; any other stores `data` as given
  std::uint32_t modified = kDosTime20210615;
  std::uint16_t flag = 0;
  std::uint16_t madeBy = (3 << 8) | 20;  // Unix, version 2.0
  std::uint16_t versionNeeded = 20;
  std::uint32_t externalAttributes = 0100644u << 16;
  std::uint16_t internalAttributes = 0;
  std::string extra;    // extra field, written to the central and the local header
  std::string comment;  // entry comment
  // Overrides of computed values, to write inconsistent archives.
  std::optional<std::uint32_t> crc;
  std::optional<std::string> rawData;  // exact bytes stored as the entry's data
  std::optional<std::uint32_t> compressedSize;
  std::optional<std::uint32_t> uncompressedSize;
  std::optional<std::uint32_t> localHeaderOffset;
  bool zip64 = false;  // sizes and offset as 0xFFFFFFFF with a ZIP64 extra field
};

struct ZipLayout {
  std::string prefix;           // bytes before the first local header
  std::string beforeEndRecord;  // bytes between the directory and the end record
  std::string archiveComment;
  std::string trailing;                          // bytes after the comment
  std::optional<std::uint16_t> commentLength;    // stored comment length
  std::optional<std::uint32_t> directoryOffset;  // stored directory offset
  std::optional<std::uint16_t> totalEntries;     // stored total entry count
  std::optional<std::uint32_t> directorySize;    // stored directory size
  std::optional<std::uint16_t> diskNumber;       // number of this disk
  bool zip64 = false;    // ZIP64 end record and locator; end record holds markers
  int deflateLevel = 9;  // zlib level for deflated entries
};

class ZipWriter {
 public:
  ZipWriter& Add(ZipEntry entry);
  // Adds an entry with the given name and content, deflated, stored at `modified`.
  ZipWriter& Add(std::string name, std::string data, std::uint32_t modified = kDosTime20210615);
  ZipLayout& layout() { return layout_; }

  // The archive's bytes.
  std::string Build() const;
  // Writes the archive to a file, replacing it.
  void WriteTo(const std::filesystem::path& path) const;

 private:
  std::vector<ZipEntry> entries_;
  ZipLayout layout_;
};

// Raw Deflate (no zlib header) of the data, and the ZIP CRC-32.
std::string DeflateRaw(const std::string& data, int level = 9);
std::uint32_t Crc32(const std::string& data);

// One extra field: its ID, the data's size and the data.
std::string ExtraField(std::uint16_t id, const std::string& data);
// A Unicode Path extra field naming the entry `utf8Name`, valid for a stored
// name whose CRC-32 is `storedNameCrc`.
std::string UnicodePathField(std::uint32_t storedNameCrc, const std::string& utf8Name);

// `value` as `width` bytes, least significant first, as ZIP stores numbers.
std::string LittleEndian(std::uint64_t value, int width);
// Overwrites the `width` bytes at `at` with `value`, to damage a built archive.
void PutLittleEndian(std::string& bytes, std::size_t at, std::uint64_t value, int width);

// Writes bytes to a file, replacing it.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// Reads a whole file.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace quill::testing
