#include "archive/entry_name_decoding.h"

#include <zlib.h>
#include <optional>

#include "archive/extra_field.h"
#include "base/byte_reader.h"
#include "base/text.h"

namespace quill {
namespace {

std::uint32_t Crc32Of(std::string_view bytes) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// Info-ZIP Unicode Path field: version (1), CRC-32 of the raw name, UTF-8 name.
std::optional<std::string> UnicodePathName(const TAbZipItem& item) {
  const auto field = FindExtraField(item.extraField, kUnicodePathExtraId);
  if (!field || field->size() <= 6 || (*field)[0] != '\x01') return std::nullopt;
  ByteReader reader(field->substr(1));
  if (reader.U32() != Crc32Of(item.rawName)) return std::nullopt;
  return SanitizeUtf8(field->substr(5));
}

// "NUCX" field: the tag, a u32 character count n, then n UTF-16LE code units.
std::optional<std::string> NucxName(const TAbZipItem& item) {
  const auto field = FindExtraField(item.extraField, kNucxExtraId);
  if (!field || field->size() <= 10 || !field->starts_with("NUCX")) return std::nullopt;
  ByteReader reader(*field);
  reader.Skip(4);
  const std::uint64_t count = *reader.U32();
  if (field->size() != 2 * count + 8) return std::nullopt;
  return Utf16LeToUtf8(field->substr(8));
}

}  // namespace

std::string DecodeEntryName(const TAbZipItem& item) {
  if (NameReadsAsStored(item)) return std::string(item.rawName);
  if (item.HasUtf8Name() || IsUtf8ByShape(item.rawName)) return SanitizeUtf8(item.rawName);
  if (auto name = UnicodePathName(item)) return *name;
  if (auto name = NucxName(item)) return *name;
  return Cp437ToUtf8(item.rawName);
}

bool NameReadsAsStored(const TAbZipItem& item) {
  // ASCII reads the same in every encoding; only an extra field could name
  // the entry otherwise.
  return item.extraField.empty() && IsAscii(item.rawName);
}

}  // namespace quill
