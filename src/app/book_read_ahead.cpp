#include "app/book_read_ahead.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "archive/book_archive.h"
#include "base/text.h"

namespace quill {
namespace {

// The local header's fixed part, and a generous allowance for its name and
// extra field, which the central directory's copies need not match.
constexpr std::uint64_t kLocalHeaderAllowance = 30 + 1024;
// Most bytes fetched for one book's package documents: a hostile directory
// must not make the read-ahead hold more than a real package needs.
constexpr std::uint64_t kMostPackageBytes = 4 << 20;

bool EndsWithNoCase(std::string_view name, std::string_view ending) {
  return name.size() >= ending.size() &&
         SameTextAscii(name.substr(name.size() - ending.size()), ending);
}

// The entries the package reader reads: the container, and the package and
// navigation documents that it names (every one that could be).
bool IsPackageDocument(std::string_view name) {
  return SameTextAscii(name, "META-INF/container.xml") || EndsWithNoCase(name, ".opf") ||
         EndsWithNoCase(name, ".ncx");
}

}  // namespace

std::shared_ptr<BookArchive> ReadBookAhead(const std::filesystem::path& path) {
  std::shared_ptr<BookArchive> archive = BookArchive::Open(path);
  if (!archive->IsOpen() || !archive->HasEndRecordInTail()) return archive;
  try {
    std::uint64_t held = 0;
    for (const TAbZipItem& item : archive->DirectoryForUnzipper().items) {
      if (!IsPackageDocument(item.fileName)) continue;
      const std::uint64_t size = kLocalHeaderAllowance + item.compressedSize;
      if (size > kMostPackageBytes - held) break;
      held += size;
      archive->ReadAhead(item.localHeaderOffset, static_cast<std::size_t>(size));
    }
  } catch (...) {
    // The examination meets the same fault and tells it in its turn.
  }
  return archive;
}

}  // namespace quill
