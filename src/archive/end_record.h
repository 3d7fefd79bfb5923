#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "archive/file_window.h"
#include "base/read_only_file.h"

namespace quill {

// The end-of-central-directory record, as far as the directory reader uses
// it. Only the last 65535 bytes of a file are searched for its signature
// (50 4B 05 06), nearest the end first; a signature without the record's 18
// bytes of fields after it before the end of the file is passed over.
struct EndRecord {
  std::uint64_t position = 0;  // file offset of the signature
  std::uint16_t totalEntries = 0;
  std::uint32_t directorySize = 0;  // as declared; a size hint only
  std::uint32_t directoryOffset = 0;
  std::string comment;  // raw bytes, cut short where the file ends

  // Whether the file has the record. A read that falls short counts as no record; EReadError passes.
  static bool IsIn(const ReadOnlyFile& file);

  // Finds and decodes the record through the window, which afterwards holds
  // the file's tail (often the whole central directory with it).
  static std::optional<EndRecord> Find(FileWindow& window);
};

}  // namespace quill
