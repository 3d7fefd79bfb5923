#include "app/book_file_check.h"

#include <array>
#include <cstddef>
#include <system_error>
#include <utility>

#include "base/error_kinds.h"
#include "base/path_text.h"
#include "base/read_only_file.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

std::string WhatStandsAt(fs::file_type type) {
  switch (type) {
    case fs::file_type::directory:
      return "is a folder, not a file";
    case fs::file_type::fifo:
      return "is a pipe, not a regular file";
    case fs::file_type::socket:
      return "is a socket, not a regular file";
    case fs::file_type::block:
    case fs::file_type::character:
      return "is a device, not a regular file";
    default:
      return "is not a regular file";
  }
}

// The system's reason in an opening error, without the words around it that
// name the file: the user's message names it already.
std::string OpenFailureReason(const fs::path& path, const std::string& message) {
  const std::string prefix = "Cannot open file \"" + Utf8Of(path) + "\". ";
  return message.starts_with(prefix) ? message.substr(prefix.size()) : message;
}

}  // namespace

BookFileCheck BookFileCheck::Of(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error) return {Result::kUnreadable, error.message()};
  if (!fs::is_regular_file(status)) return {Result::kNotRegular, WhatStandsAt(status.type())};
  try {
    const ReadOnlyFile file = ReadOnlyFile::Open(path, ReadOnlyFile::Sharing::kAll);
    // The end of the file is where a reader of the archive starts.
    std::array<std::byte, 1> last{};
    if (file.Size() > 0) file.ReadAt(file.Size() - 1, last);
  } catch (const Error&) {
    return OfFailure(path, std::current_exception());
  }
  return {};
}

BookFileCheck BookFileCheck::OfFailure(const fs::path& path, std::exception_ptr failure) {
  try {
    std::rethrow_exception(std::move(failure));
  } catch (const EFOpenError& error) {
    return {Result::kUnreadable, OpenFailureReason(path, error.message())};
  } catch (const Error& error) {
    return {Result::kUnreadable, error.message()};
  } catch (const std::exception& error) {
    return {Result::kUnreadable, error.what()};
  }
}

}  // namespace quill
