#pragma once

#include <cstdint>
#include <string>

namespace quill {

// Code pages that tag the bytes of an entry name.
inline constexpr std::uint16_t kCodePageUtf8 = 65001;
inline constexpr std::uint16_t kCodePageIbm437 = 437;

// General purpose flag bit that marks a name (and entry comment) stored in UTF-8.
inline constexpr std::uint16_t kFlagUtf8Name = 0x0800;

// One archive entry: a copy of its central directory file header with every
// value as stored, nothing validated. The fifteen fixed fields are the 42
// bytes that follow the header's signature, in file order; the last three
// hold the variable parts as raw bytes.
struct TZipHeader {
  std::uint16_t MadeByVersion = 0;  // the high byte names the host system
  std::uint16_t RequiredVersion = 0;
  std::uint16_t Flag = 0;
  std::uint16_t CompressionMethod = 0;
  std::uint32_t ModifiedDateTime = 0;  // MS-DOS date in the high word, time in the low word
  std::uint32_t CRC32 = 0;
  std::uint32_t CompressedSize = 0;
  std::uint32_t UncompressedSize = 0;
  std::uint16_t FileNameLength = 0;
  std::uint16_t ExtraFieldLength = 0;
  std::uint16_t FileCommentLength = 0;
  std::uint16_t DiskNumberStart = 0;
  std::uint16_t InternalAttributes = 0;
  std::uint32_t ExternalAttributes = 0;
  std::uint32_t LocalHeaderOffset = 0;
  std::string FileName;  // raw bytes, decoded with FileNameCodePage()
  std::string ExtraField;
  std::string FileComment;

  // The code page that tags FileName: UTF-8 when Flag marks it, else 437.
  std::uint16_t FileNameCodePage() const {
    return (Flag & kFlagUtf8Name) != 0 ? kCodePageUtf8 : kCodePageIbm437;
  }
};

}  // namespace quill
