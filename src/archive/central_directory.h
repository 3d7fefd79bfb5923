#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

#include "archive/directory_entry.h"

namespace quill {

class FileWindow;

// Why an archive's central directory could not be read. Each reader words it
// its own way.
class ZipDirectoryFault : public std::runtime_error {
 public:
  enum class Kind {
    kEmptyFile,        // the file holds no byte
    kNoEndRecord,      // the reader's rule finds no end record
    kHeaderSignature,  // a header does not begin with its signature
    kHeaderCut,        // a header ends with the file before its signature is whole
    kShortRead,        // a header, its texts or a ZIP64 record end with the file
    kNoZip64Record,    // the end record holds ZIP64 markers, but no ZIP64 record is found
  };
  explicit ZipDirectoryFault(Kind kind)
      : std::runtime_error("central directory fault"), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// The entries of a central directory in order. Their texts (raw name, extra
// field, comment, decoded name) are views of `texts`, whose bytes a move of
// the list leaves in place.
struct ZipItemList {
  std::vector<TAbZipItem> items;
  std::vector<char> texts;
  // The end record holds ZIP64 markers, but its own values were read for want
  // of a ZIP64 record (Zip64Locator::kOptional).
  bool zip64RecordMissing = false;
};

// What to do when an end record holds ZIP64 markers but no ZIP64 record can
// be read (no locator before it, or a record that is not there): give up, or
// take the end record's own values.
enum class Zip64Locator { kRequired, kOptional };

// The one decoder of a central directory, which every reader uses. Reads the
// directory that the end record at the offset describes (through the ZIP64
// locator and record when the end record holds their markers) and returns its
// entries in order, each with one decoded name (DecodeEntryName) and the
// values of its ZIP64 field applied. The directory is read in one go where
// its declared size is believable, and its texts are gathered in one buffer
// rather than one allocation each. Raises ZipDirectoryFault.
ZipItemList ReadZipDirectory(FileWindow& window, std::uint64_t endRecordOffset, Zip64Locator rule);

}  // namespace quill
