#include <windows.h>

#include <gtest/gtest.h>

#include "archive/zip_file.h"
#include "base/error_kinds.h"
#include "base/win32/wide_text.h"
#include "epub_builder.h"
#include "temp_dir.h"

namespace quill {
namespace {

// Another program's handle on the book that allows no sharing at all, as an
// e-book reader that keeps the book open may hold it.
class ExclusiveHolder {
 public:
  explicit ExclusiveHolder(const std::filesystem::path& path)
      : handle_(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~ExclusiveHolder() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  ExclusiveHolder(const ExclusiveHolder&) = delete;
  ExclusiveHolder& operator=(const ExclusiveHolder&) = delete;
  bool holds() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

TEST(ZipFileSharing, ABookHeldOpenWithoutSharingIsNotValidAndCannotBeOpened) {
  testing::TempDir dir;
  const std::filesystem::path book = dir / "held.epub";
  testing::EpubBuilder().WriteTo(book);
  ASSERT_TRUE(TZipFile::IsValid(book));
  {
    const ExclusiveHolder holder(book);
    ASSERT_TRUE(holder.holds());
    EXPECT_FALSE(TZipFile::IsValid(book));
    TZipFile reader;
    try {
      reader.Open(book);
      FAIL() << "the open succeeded";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(error.message(), "Cannot open file \"" + book.string() + "\". " +
                                     SystemErrorText(ERROR_SHARING_VIOLATION));
    }
  }
  EXPECT_TRUE(TZipFile::IsValid(book));  // released with the other handle
}

TEST(ZipFileSharing, AnOpenReaderKeepsOthersOut) {
  testing::TempDir dir;
  const std::filesystem::path book = dir / "open.epub";
  testing::EpubBuilder().WriteTo(book);
  TZipFile reader;
  reader.Open(book);
  const ExclusiveHolder other(book);
  EXPECT_FALSE(other.holds());
  reader.Close();
  EXPECT_TRUE(ExclusiveHolder(book).holds());
}

}  // namespace
}  // namespace quill
