#pragma once

#include <cstdint>
#include <string_view>

namespace quill {

// One entry of an archive opened for extraction, filled from its central
// directory file header. Sizes and the local header offset are the 64-bit
// values of the ZIP64 extended information field where the header holds its
// markers. The texts are views of the bytes that the unzipper holds for its
// open archive: they stay valid until it closes.
struct TAbZipItem {
  std::uint16_t versionMadeBy = 0;  // the high byte names the host system
  std::uint16_t versionNeeded = 0;
  std::uint16_t flag = 0;  // bit 0: encrypted; bit 11: UTF-8 name
  std::uint16_t compressionMethod = 0;
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::uint32_t crc32 = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
  std::string_view rawName;  // the name's bytes as stored
  std::string_view extraField;
  std::string_view comment;
  std::uint32_t diskNumberStart = 0;
  std::uint16_t internalAttributes = 0;
  std::uint32_t externalAttributes = 0;
  std::uint64_t localHeaderOffset = 0;
  std::string_view fileName;  // the decoded name (UTF-8), separators as stored

  static constexpr std::uint8_t kHostMsDos = 0;
  static constexpr std::uint8_t kHostUnix = 3;

  std::uint8_t HostSystem() const { return static_cast<std::uint8_t>(versionMadeBy >> 8); }
  bool IsEncrypted() const { return (flag & 0x0001) != 0; }
  bool HasUtf8Name() const { return (flag & 0x0800) != 0; }

  // A folder entry: the MS-DOS directory attribute, or a name ending in a separator.
  bool IsDirectory() const {
    return (externalAttributes & 0x10) != 0 ||
           (!fileName.empty() && (fileName.back() == '/' || fileName.back() == '\\'));
  }

  // The MS-DOS date (high word) and time (low word) as one 32-bit value.
  std::uint32_t DosDateTime() const { return (std::uint32_t{dosDate} << 16) | dosTime; }
};

}  // namespace quill
