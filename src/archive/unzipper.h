#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "archive/central_directory.h"
#include "archive/directory_entry.h"
#include "archive/entry_extraction.h"
#include "archive/entry_name_index.h"
#include "base/enum_set.h"
#include "base/file_identity.h"
#include "base/target_folder.h"

namespace quill {

class BookArchive;
class MemoryStream;
struct EntryDataLocation;

enum TAbExtractOption {
  eoCreateDirs,   // create missing folders
  eoRestorePath,  // keep the entry's relative path
};
using TAbExtractOptions = EnumSet<TAbExtractOption>;

// Extracts entries of one ZIP archive, opened for reading with full sharing
// when FileName is assigned and held open, with its entry list in memory,
// until FileName is emptied or the component ends. The archive is only ever
// read. Each caller creates its own component for one task.
class TAbUnZipper {
 public:
  // The largest entry that ExtractEntryToStream writes: the documents that go
  // to memory are small, and a decompression bomb must not cost memory.
  static constexpr std::uint64_t kMaxStreamEntrySize = 64 * 1024 * 1024;

  TAbUnZipper() = default;
  TAbUnZipper(const TAbUnZipper&) = delete;
  TAbUnZipper& operator=(const TAbUnZipper&) = delete;

  const std::filesystem::path& FileName() const { return fileName_; }
  // A non-empty path opens that archive, closing any opened before; an empty
  // one closes it. Raises, and leaves no archive open, when the file is
  // missing (EAbFileNotFound "Fájl nem található"), empty or of unknown size
  // (EAbBadStream "Érvénytelen adatfolyam"), not a ZIP archive
  // (EAbUnhandledType "Hibas archívumtípus"), cannot be opened (EFOpenError),
  // lacks a signature (EAbZipInvalid) or ends too early (EReadError).
  void SetFileName(const std::filesystem::path& path);

  // Opens a book archive that is already open (and that this component then
  // shares) as SetFileName would open its path, with the same errors.
  void SetArchive(std::shared_ptr<BookArchive> archive);

  // The folder into which ExtractEntryToFolder writes.
  const std::filesystem::path& BaseDirectory() const { return baseDirectory_; }
  void SetBaseDirectory(const std::filesystem::path& folder) {
    baseDirectory_ = folder;
    base_.reset();
  }

  // A new component has {eoCreateDirs}.
  TAbExtractOptions ExtractOptions() const { return extractOptions_; }
  void SetExtractOptions(TAbExtractOptions options) { extractOptions_ = options; }

  // The entries in central directory order; Count() is 0 with no archive open.
  // Items raises EArgumentOutOfRangeException for an index outside the list.
  const TAbZipItem& Items(std::size_t index) const;
  std::size_t Count() const { return items_ ? items_->size() : 0; }

  // Writes the uncompressed data of the entry named `name` (the letters A to
  // Z compared without case; the latest of several matches) into the stream
  // at its position. No match, or an entry that cannot be extracted, writes
  // nothing further and reports nothing; an entry larger than
  // kMaxStreamEntrySize is not extracted.
  void ExtractEntryToStream(std::string_view name, MemoryStream& stream);

  // The same for the entry at the index, whatever other entries share its name.
  void ExtractItemToStream(std::size_t index, MemoryStream& stream);

  // The most that ExtractEntryToFolder writes in all for one archive: this
  // many times the archive's size, plus kUnpackAllowance. Books compress text
  // a few times over; only data made to expand (an entry's data shared by
  // many entries, say) comes near it.
  static constexpr std::uint64_t kUnpackSizeFactor = 100;
  static constexpr std::uint64_t kUnpackAllowance = 100u << 20;

  // Writes the entry at the index into BaseDirectory under its relative path
  // and gives it the entry's stored time (as local time) and read-only state.
  // Every folder and the file are opened one name at a time beneath
  // BaseDirectory, never through a link. The entry is skipped, and the answer
  // says why, when it cannot be extracted, its name would land outside
  // BaseDirectory, a link or the archive itself (by any name) stands in its
  // way, a folder on its path cannot be opened or created, its data overlaps
  // the data of an entry already extracted, or writing it would pass the
  // total bound above. The answer also tells a file written whose data fails
  // its CRC-32 (the file stays), and one that replaced the file of an earlier
  // entry of the same name. Raises EInOutError only when BaseDirectory itself
  // cannot be opened (or, with eoCreateDirs, created).
  EntryExtraction ExtractEntryToFolder(std::size_t index);

 private:
  void Close();
  const TargetFolder& OpenBase();
  // Writes a file entry's data into the folder under the name.
  EntryExtraction ExtractFile(const TAbZipItem& item, const TargetFolder& folder,
                              const std::string& name);
  // Why the entry's data, once located, is not to be written: it overlaps
  // data written for another entry, or it would pass the total bound.
  std::optional<std::string> Overreach(const TAbZipItem& item,
                                       const EntryDataLocation& location) const;

  std::filesystem::path fileName_;
  std::filesystem::path baseDirectory_;
  TAbExtractOptions extractOptions_{eoCreateDirs};
  std::shared_ptr<BookArchive> archive_;
  const std::vector<TAbZipItem>* items_ = nullptr;  // the archive's directory
  NameIndex names_;
  // What folder extraction has done with this archive so far.
  std::optional<FileIdentity> archiveIdentity_;
  std::optional<TargetFolder> base_;
  std::set<FileIdentity> written_;                  // the files it wrote
  std::map<std::uint64_t, std::uint64_t> claimed_;  // archive ranges of their data: start, end
  std::uint64_t unpacked_ = 0;                      // bytes written in all
};

}  // namespace quill
