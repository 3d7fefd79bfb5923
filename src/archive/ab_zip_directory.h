#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "archive/ab_zip_item.h"

namespace quill {

class FileWindow;

// Recognises a ZIP archive by its content: the offset of the end-of-central-
// directory record nearest the end of the file whose comment fits in the bytes
// that follow it, provided that record belongs to disk 0 (or holds the ZIP64
// marker there). Nothing when the
// file is not a (single-disk) ZIP archive. The search may run back to
// the start of the file; the window afterwards holds the archive's tail for
// ReadZipDirectory.
std::optional<std::uint64_t> FindEndRecord(FileWindow& window);

// The entries of a central directory in order. Their texts (raw name, extra
// field, comment, decoded name) are views of `texts`, whose bytes a move of
// the list leaves in place.
struct ZipItemList {
  std::vector<TAbZipItem> items;
  std::vector<char> texts;
};

// Reads the central directory that the end record at the offset describes
// (through the ZIP64 records when the end record holds their markers) and
// returns its entries in order, names decoded and ZIP64 values applied.
// Raises EAbZipInvalid "Érvénytelen fájl – nem PKZip fájl" for a missing
// signature or ZIP64 locator and EReadError "Stream read error" for a read
// that falls short.
ZipItemList ReadZipDirectory(FileWindow& window, std::uint64_t endRecordOffset);

}  // namespace quill
